// The launcher texts in the six languages of the user interface, chosen once
// at start-up by the user's language. The table holds UTF-16 texts exactly as
// the game shows them; an entry that is out of range or unset reads "NULL".
#include "shell/launcher_texts.h"

#include <atomic>

namespace {

constexpr const char16_t* kEnglish[kLauncherMessages] = {
    u"Game installed.\nDo you want to launch it?",
    u"Could not launch the game.\nPlease launch it from Games folder.",
    u"Notice",
    u"Are you sure you want to quit?",
    u"Could not free the required memory to run the game.\nPlease try closing all running applications and launch the game again.",
    u"Do you want to keep your saved data?",
    u"Please wait",
    u"Cannot install the game. You need at least %.2f MB of free storage space on the device to install the game.",
    u"Do you want to connect to the Internet?",
};

constexpr const char16_t* kCzech[kLauncherMessages] = {
    u"Hra nainstalována.\nChceš ji spustit?",
    u"Nepodarilo se spustit hru.\nSpust ji z adresáre her.",
    u"Poznámka",
    u"Chceš doopravdy skoncit?",
    u"Uvolnení potrebné pameti se nezdarilo.\nZkus zavrít všechny aplikace a spustit hru znovu.",
    u"Chceš zachovat svá uložená data?",
    u"Please wait",
    u"Nelze nainstalovat hru. Potrebuješ alespon %.2f MB volného místa v telefonu pro instalaci hry.",
    u"Do you want to connect to the Internet?",
};

constexpr const char16_t* kGerman[kLauncherMessages] = {
    u"Das Spiel ist installiert.\nMöchtest du es jetzt starten?",
    u"Spiel konnte nicht gestartet werden.\nVersuche, es vom Spiele-Ordner aus zu starten.",
    u"Hinweis",
    u"Wirklich beenden?",
    u"Es gibt nicht genügend freien Speicherplatz für das Spiel.\nBeende bitte alle Anwendungen und starte das Spiel erneut.",
    u"Möchtest du deine gespeicherten Daten behalten?",
    u"Bitte warten",
    u"Cannot install the game. You need at least %.2f of free storage space.",
    u"Möchtest du eine Internetverbindung herstellen?",
};

constexpr const char16_t* kSpanish[kLauncherMessages] = {
    u"Juego instalado.\n¿Quieres ejecutarlo ahora?",
    u"No se pudo ejecutar el juego.\nPor favor ejecutalo desde la carpeta Juegos o Games.",
    u"Advertencia",
    u"¿Estas seguro que quieres salir?",
    u"No se ha podido liberar el espacio de memoria requerido para ejecutar el juego.\nPor favor, intenta cerrar todas las aplicaciones y vuelve a abrir el juego.",
    u"¿Quieres conservar tus datos guardados?",
    u"Aguarde",
    u"No puedo instalar el juego. Usted necesita de por lo menos %.2f MB de espacio de almecenamiento libre en el teléfono para poder instalarlo.",
    u"¿Quieres conectarte a internet",
};

constexpr const char16_t* kFrench[kLauncherMessages] = {
    u"Jeu installé.\nLancer le jeu?",
    u"Impossible de lancer le jeu.\nVeuillez le lancer à partir du dossier Jeux.",
    u"Avertissement",
    u"Etes-vous sûr de vouloir quitter?",
    u"Impossible de libérer la mémoire requise pour lancer le jeu.\nFermez toutes les applications en cours et relancez le jeu.",
    u"Voulez-vous conserver les données sauvegardées?",
    u"Merci de patienter",
    u"Cannot install the game. You need at least %.2f of free storage space.",
    u"Voulez-vous vous connecter à Internet?",
};

constexpr const char16_t* kPortuguese[kLauncherMessages] = {
    u"Jogo instalado.\nDeseja iniciá-lo?",
    u"Não foi possível iniciar o jogo.\nFavor iniciá-lo da pasta de jogos.",
    u"Aviso",
    u"Tenz a certeza que queres sair?",
    u"Não foi possivel obter a memória requerida para que o jogo funcione.\nPor favor, tenta fechar todas as aplicações e inicia o jogo de novo.",
    u"Queres manter os teus dados guardados?",
    u"Aguarde",
    u"Cannot install the game. You need at least %.2f of free storage space.",
    u"Queres ligar-te à Internet?",
};

// Entries by primary language id; any other language gets English.
const char16_t* const* tableFor(uint32_t primaryLanguage) {
    switch (primaryLanguage) {
    case 5: return kCzech;
    case 7: return kGerman;
    case 10: return kSpanish;
    case 12: return kFrench;
    case 22: return kPortuguese;
    default: return kEnglish;
    }
}

std::atomic<const char16_t* const*> g_table{nullptr};

}  // namespace

void SetLauncherLanguage(uint32_t languageId) { g_table.store(tableFor(languageId & 0x3FF)); }

const char16_t* GetLauncherMessage(int index) {
    const char16_t* const* table = g_table.load();
    if (!table || index < 0 || index >= kLauncherMessages || !table[index]) return u"NULL";
    return table[index];
}

void ResetLauncherLanguage() { g_table.store(nullptr); }

const char* launcherLanguageCode(uint32_t languageId) {
    switch (languageId & 0x3FF) {
    case 5: return "cs";
    case 7: return "de";
    case 10: return "es";
    case 12: return "fr";
    case 22: return "pt";
    default: return "";
    }
}

std::string launcherMessageUtf8(int index) {
    std::string out;
    const char16_t* text = GetLauncherMessage(index);
    for (size_t i = 0; text[i]; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}
