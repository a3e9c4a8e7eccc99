// The general promotion link built from the application properties, and
// the opening of a stored link through the platform request, after which
// the program ends.
#include "game/showcase/internal.h"
#include "io/midlet.h"
#include "runtime/javathread.h"

namespace game {

using namespace showcase_detail;

bool Showcase::buildLink() {
    ShowcaseStatics* s = S();
    ObjectArray* codes = s->languageCodes;
    bool promoted = false;
    for (jint i = 0; i < arrayLength(codes); ++i) promoted = promoted || same(elem<String>(codes, i), pool(kPromoLanguage));
    if (!promoted) return false;

    String* property = appProperty(pool(kMoreProperty));
    String* marker = pool(kLinkMarker);
    const jint i = find(property, marker);
    if (i >= 0 && len(marker) > 0) {
        const jint m = len(marker);
        const jint e = i + 2 * m + 1;
        if (e >= len(property)) return false;
        if (!same(String::substring(property, i + m + 1, e), marker)) return false;
        String* link = s->linkTemplate;
        if (s->insertLanguage) {
            link = cat({link, pool(kTemplateLanguageText)});
            String* value = pool(kValueMarker);
            const jint k = find(link, value);
            if (k >= 0)
                link = cat({String::substring(link, 0, k), marker, String::substringFrom(link, k + len(value))});
        }
        s->promoLink = link;
        if (isEmpty(link)) return false;
        s->linkReady = 1;
        return true;
    }
    s->promoLink = appProperty(pool(kReadyLinkProperty));
    if (!s->promoLink) return false;
    s->linkReady = 1;
    return true;
}

void Showcase::openLink() {
    ShowcaseStatics* s = S();
    if (isEmpty(s->pendingUrl)) return;
    String* link = s->pendingUrl;
    s->pendingUrl = nullptr;
    if (!s->midlet) {
        rt::throwNewDefault(cid::java_lang_NullPointerException);
    } else {
        s->midlet->platformRequest(link);
        if (!Application::pendingException()) java_lang_Thread::sleep(200);
    }
    if (Application::pendingException()) {
        Application::clearPendingException();
        logPrintf("Showcase: opening the link failed");
        return;
    }
    s->screenState = s->linkRequested ? kShowLeave : kShowPage;
    javax_microedition_midlet_MIDlet::notifyDestroyed();
}

}  // namespace game
