#include "support/xlsx_reader.h"

#include <unzip.h>

#include <algorithm>

namespace qavo::testing {

namespace {

// The five entities XML writers use, and the numeric ones (ASCII only,
// enough for the tests).
std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const size_t end = text.find(';', i);
        if (end == std::string::npos) {
            out += text.substr(i);
            break;
        }
        const std::string entity = text.substr(i + 1, end - i - 1);
        if (entity == "amp") {
            out += '&';
        } else if (entity == "lt") {
            out += '<';
        } else if (entity == "gt") {
            out += '>';
        } else if (entity == "quot") {
            out += '"';
        } else if (entity == "apos") {
            out += '\'';
        } else if (entity.size() > 1 && entity[0] == '#') {
            const bool hex = entity[1] == 'x';
            const long code = std::stol(entity.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10);
            if (code < 0x80) out += static_cast<char>(code);
        } else {
            out += "&" + entity + ";";
        }
        i = end;
    }
    return out;
}

// Every element named `name` in `xml`: the text of its start tag and what
// lies between it and its end tag (empty for an element closed in its tag).
struct Element {
    std::string tag;
    std::string body;
};

std::vector<Element> Elements(const std::string& xml, const std::string& name) {
    std::vector<Element> out;
    const std::string open = "<" + name;
    const std::string close = "</" + name + ">";
    size_t at = 0;
    while ((at = xml.find(open, at)) != std::string::npos) {
        const size_t after = at + open.size();
        // "<c" must not match "<col" or "<cols".
        if (after >= xml.size() || (xml[after] != ' ' && xml[after] != '>' && xml[after] != '/')) {
            at = after;
            continue;
        }
        const size_t tag_end = xml.find('>', after);
        if (tag_end == std::string::npos) break;
        Element element{xml.substr(at, tag_end + 1 - at), {}};
        if (xml[tag_end - 1] == '/') {
            at = tag_end + 1;
        } else {
            const size_t end = xml.find(close, tag_end + 1);
            if (end == std::string::npos) break;
            element.body = xml.substr(tag_end + 1, end - tag_end - 1);
            at = end + close.size();
        }
        out.push_back(std::move(element));
    }
    return out;
}

// name="value" pairs of a start tag.
std::map<std::string, std::string> Attributes(const std::string& tag) {
    std::map<std::string, std::string> out;
    size_t at = 0;
    while ((at = tag.find("=\"", at)) != std::string::npos) {
        const size_t name_start = tag.rfind(' ', at);
        const size_t value_end = tag.find('"', at + 2);
        if (name_start == std::string::npos || value_end == std::string::npos) break;
        out[tag.substr(name_start + 1, at - name_start - 1)] =
            Unescape(tag.substr(at + 2, value_end - at - 2));
        at = value_end + 1;
    }
    return out;
}

// The text of all <t> runs in `xml`, joined.
std::string Runs(const std::string& xml) {
    std::string text;
    for (const Element& run : Elements(xml, "t"))
        text += Unescape(run.body);
    return text;
}

std::string FirstBody(const std::string& xml, const std::string& name) {
    auto found = Elements(xml, name);
    return found.empty() ? std::string() : found.front().body;
}

}  // namespace

std::optional<std::string> ReadZipMember(const std::string& archive, const std::string& member) {
    unzFile zip = unzOpen(archive.c_str());
    if (!zip) return std::nullopt;
    std::optional<std::string> out;
    if (unzLocateFile(zip, member.c_str(), 1) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        std::string data;
        char buffer[8192];
        int n;
        while ((n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            data.append(buffer, static_cast<size_t>(n));
        // A damaged member fails its CRC check at the close.
        if (unzCloseCurrentFile(zip) == UNZ_OK && n == 0) out = std::move(data);
    }
    unzClose(zip);
    return out;
}

std::optional<XlsxSheet> ReadXlsxSheet(const std::string& path) {
    const auto workbook = ReadZipMember(path, "xl/workbook.xml");
    const auto sheet = ReadZipMember(path, "xl/worksheets/sheet1.xml");
    if (!workbook || !sheet) return std::nullopt;
    // A workbook without any text cell has no shared strings part.
    const auto shared = ReadZipMember(path, "xl/sharedStrings.xml");

    XlsxSheet out;
    std::vector<std::string> strings;
    if (shared) {
        for (const Element& item : Elements(*shared, "si"))
            strings.push_back(Runs(item.body));
    }
    for (const Element& sheet_tag : Elements(*workbook, "sheet"))
        out.sheet_names.push_back(Attributes(sheet_tag.tag)["name"]);
    if (auto panes = Elements(*sheet, "pane"); !panes.empty()) out.pane = Attributes(panes[0].tag);
    for (const Element& col : Elements(*sheet, "col")) {
        auto a = Attributes(col.tag);
        for (int c = std::stoi(a["min"]); c <= std::stoi(a["max"]); ++c)
            out.widths[c] = std::stod(a["width"]);
    }
    for (const Element& cell : Elements(*sheet, "c")) {
        auto a = Attributes(cell.tag);
        std::string text;
        if (a["t"] == "s") {
            const size_t index = std::stoul(FirstBody(cell.body, "v"));
            if (index >= strings.size()) return std::nullopt;
            text = strings[index];
        } else if (a["t"] == "inlineStr") {
            text = Runs(cell.body);
        } else {
            text = Unescape(FirstBody(cell.body, "v"));
        }
        const std::string ref = a["r"];
        out.cells[ref] = text;
        const size_t digits = ref.find_first_of("0123456789");
        if (digits != std::string::npos)
            out.last_row = std::max(out.last_row, std::stoi(ref.substr(digits)));
    }
    return out;
}

}  // namespace qavo::testing
