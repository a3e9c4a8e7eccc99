// Loading table and condition file writers, readers and the condition
// assembler (loading.h).
#include "tools/kit/loading.h"

#include <map>
#include <sstream>

namespace kit {

namespace {

void need(bool ok, const std::string& what) {
    if (!ok) throw KitError(what);
}

int64_t readBE(ByteSpan d, size_t off, int width, bool isSigned) {
    uint64_t v = 0;
    for (int k = 0; k < width; ++k) v = (v << 8) | d[off + size_t(k)];
    if (isSigned && (v >> (width * 8 - 1)) & 1) v |= ~uint64_t(0) << (width * 8);
    return static_cast<int64_t>(v);
}

FileField field(std::string group, int index, size_t offset, uint8_t width, bool isSigned, FieldRole role,
                int64_t value, int64_t limit) {
    FileField f;
    f.group = std::move(group);
    f.index = index;
    f.offset = offset;
    f.width = width;
    f.bigEndian = true;
    f.isSigned = isSigned;
    f.role = role;
    f.value = value;
    f.limit = limit;
    return f;
}

struct OpName {
    const char* name;
    int code;
};
constexpr OpName kOps[] = {{"sel", 7},  {"or", 9},   {"and", 10}, {"bor", 11}, {"xor", 12}, {"band", 13},
                           {"eq", 14},  {"ne", 15},  {"lt", 16},  {"gt", 17},  {"le", 18},  {"ge", 19},
                           {"shl", 20}, {"shr", 21}, {"add", 22}, {"sub", 23}, {"mul", 24}, {"div", 26},
                           {"mod", 27}, {"not0", 28}, {"bnot", 29}, {"neg", 30}, {"nop", 31}};

}  // namespace

Bytes encodeLoadingTable(const LoadTable& table) {
    ByteWriter w;
    for (const LoadRecord& r : table) {
        need(r.opcode >= -128 && r.opcode <= 127, "opcode outside a signed byte");
        need(r.slot >= 0 && r.slot <= 255, "slot outside a byte");
        need(r.group >= -128 && r.group <= 127, "group outside a signed byte");
        need(r.pack >= 0 && r.pack <= 255, "pack outside a byte");
        need(r.resource >= 0 && r.resource <= 0xFFFF, "resource outside 16 bits");
        w.u8(static_cast<uint8_t>(r.opcode));
        w.u8(static_cast<uint8_t>(r.slot));
        w.u8(static_cast<uint8_t>(r.group));
        w.be32(static_cast<uint32_t>(r.param));
        w.u8(static_cast<uint8_t>(r.pack));
        w.be16(static_cast<uint32_t>(r.resource));
    }
    return w.take();
}

LoadTable parseLoadingTable(ByteSpan data, FileLayout* layout) {
    need(data.size() == size_t(kLoadRecords) * kLoadRecordBytes, "a loading table is 4,200 bytes");
    LoadTable t;
    if (layout) layout->size = data.size();
    for (int i = 0; i < kLoadRecords; ++i) {
        const size_t o = size_t(i) * kLoadRecordBytes;
        LoadRecord& r = t[size_t(i)];
        r.opcode = static_cast<int>(readBE(data, o, 1, true));
        r.slot = static_cast<int>(readBE(data, o + 1, 1, false));
        r.group = static_cast<int>(readBE(data, o + 2, 1, true));
        r.param = static_cast<int32_t>(readBE(data, o + 3, 4, true));
        r.pack = static_cast<int>(readBE(data, o + 7, 1, false));
        r.resource = static_cast<int>(readBE(data, o + 8, 2, false));
        if (!layout || r.opcode == 3) continue;
        layout->mark("record" + std::to_string(i), o);
        FileField op = field("record.opcode", i, o, 1, true, FieldRole::Marker, r.opcode, 0);
        op.alternatives = {23, -1, 127};
        layout->fields.push_back(op);
        layout->fields.push_back(field("record.group", i, o + 2, 1, true, FieldRole::Index, r.group, kLoadGroups));
        if (r.opcode == 1)
            layout->fields.push_back(field("record.sprite-slot", i, o + 1, 1, false, FieldRole::Index, r.slot, 119));
        if (r.opcode == 19)
            layout->fields.push_back(field("record.sound-id", i, o + 1, 1, false, FieldRole::Index, r.slot, 37));
        if (r.opcode == 12 || r.opcode == 18)
            layout->fields.push_back(
                field("record.reference", i, o + 8, 2, false, FieldRole::Index, r.resource, kLoadRecords));
        if (r.opcode == 1 || r.opcode == 19)
            layout->fields.push_back(field("record.resource", i, o + 8, 2, false, FieldRole::Index, r.resource,
                                           r.opcode == 1 ? 128 : 37));
    }
    return t;
}

LoadTable parseLoadingTableText(std::string_view text) {
    LoadTable t;
    std::istringstream in{std::string(text)};
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string s; words >> s;) w.push_back(s);
        if (w.empty()) continue;
        need(w.size() == 7, "loading table line " + std::to_string(lineNo) + ": expected 7 numbers, got " +
                                std::to_string(w.size()));
        auto parseNumber = [&](const std::string& word) {
            try {
                return kit::parseNumber(word);
            } catch (const KitError& e) {
                throw KitError("loading table line " + std::to_string(lineNo) + ": " + e.what());
            }
        };
        const int64_t index = parseNumber(w[0]);
        need(index >= 0 && index < kLoadRecords, "loading table line " + std::to_string(lineNo) + ": index");
        LoadRecord r;
        r.opcode = static_cast<int>(parseNumber(w[1]));
        r.slot = static_cast<int>(parseNumber(w[2]));
        r.group = static_cast<int>(parseNumber(w[3]));
        r.param = static_cast<int32_t>(parseNumber(w[4]));
        r.pack = static_cast<int>(parseNumber(w[5]));
        r.resource = static_cast<int>(parseNumber(w[6]));
        t[size_t(index)] = r;
    }
    encodeLoadingTable(t);  // range checks
    return t;
}

std::string describeLoadingTable(ByteSpan data) {
    const LoadTable t = parseLoadingTable(data);
    std::ostringstream out;
    int noOps = 0;
    for (int i = 0; i < kLoadRecords; ++i) {
        const LoadRecord& r = t[size_t(i)];
        if (r.opcode == 3 && r.pack == 255) {
            ++noOps;
            continue;
        }
        out << i << ": opcode " << r.opcode << " slot " << r.slot << " group " << r.group << " param " << r.param
            << " pack " << r.pack << " resource " << r.resource << "\n";
    }
    out << noOps << " no-op records\n";
    return out.str();
}

Bytes assembleCondition(std::string_view source) {
    std::map<std::string, int> ops;
    for (const OpName& o : kOps) ops[o.name] = o.code;
    std::string text(source);
    for (char& c : text)
        if (c == ';' || c == ',' || c == '\n' || c == '\t') c = ' ';
    std::istringstream in(text);
    ByteWriter w;
    for (std::string word; in >> word;) {
        if (word == "push" || word == "req" || word == "group") {
            std::string arg;
            need(static_cast<bool>(in >> arg), word + " needs a number");
            w.u8(word == "push" ? 2 : word == "req" ? 4 : 6);
            w.be32(static_cast<uint32_t>(parseNumber(arg, "a number after " + word)));
        } else if (word == "op") {
            std::string arg;
            need(static_cast<bool>(in >> arg), "op needs a number");
            w.u8(static_cast<uint32_t>(parseNumber(arg, "an opcode number after op", -128, 255)));
        } else {
            auto it = ops.find(word);
            need(it != ops.end(), "unknown condition word: " + word);
            w.u8(static_cast<uint32_t>(it->second));
        }
    }
    return w.take();
}

std::string disassembleCondition(ByteSpan p) {
    std::ostringstream out;
    for (size_t i = 0; i < p.size();) {
        const int op = static_cast<int8_t>(p[i++]);
        if (i > 1) out << ' ';
        if (op == 2 || op == 4 || op == 6) {
            if (i + 4 > p.size()) {
                out << "op " << op << " (operand cut short)";
                break;
            }
            out << (op == 2 ? "push " : op == 4 ? "req " : "group ") << readBE(p, i, 4, true);
            i += 4;
            continue;
        }
        const char* name = nullptr;
        for (const OpName& o : kOps)
            if (o.code == op) name = o.name;
        if (name)
            out << name;
        else
            out << "op " << op;
    }
    return out.str();
}

Bytes encodeConditionFile(const std::vector<Bytes>& programs, int32_t header) {
    need(programs.size() == size_t(kLoadGroups), "a condition file holds 36 programs");
    ByteWriter w;
    w.be32(static_cast<uint32_t>(header));
    for (const Bytes& p : programs) {
        w.be32(static_cast<uint32_t>(p.size()));
        w.raw(p);
    }
    return w.take();
}

std::vector<Bytes> parseConditionFile(ByteSpan data, FileLayout* layout) {
    need(data.size() >= 4, "a condition file starts with a 32-bit number");
    if (layout) layout->size = data.size();
    std::vector<Bytes> out;
    size_t pos = 4;
    for (int g = 0; g < kLoadGroups; ++g) {
        need(pos + 4 <= data.size(), "group " + std::to_string(g) + ": length missing");
        const int64_t len = readBE(data, pos, 4, true);
        if (layout) {
            layout->mark("group" + std::to_string(g), pos);
            layout->fields.push_back(field("group.length", g, pos, 4, true, FieldRole::Length, len,
                                           static_cast<int64_t>(data.size() - pos - 4)));
        }
        pos += 4;
        need(len >= 0 && static_cast<uint64_t>(len) <= data.size() - pos,
             "group " + std::to_string(g) + ": program runs past the end");
        out.emplace_back(data.begin() + static_cast<ptrdiff_t>(pos), data.begin() + static_cast<ptrdiff_t>(pos + len));
        pos += static_cast<size_t>(len);
    }
    need(pos == data.size(), "bytes after the last program");
    return out;
}

std::string describeConditionFile(ByteSpan data) {
    const std::vector<Bytes> programs = parseConditionFile(data);
    std::ostringstream out;
    for (int g = 0; g < kLoadGroups; ++g) out << "group " << g << ": " << disassembleCondition(programs[size_t(g)]) << "\n";
    return out.str();
}

}  // namespace kit
