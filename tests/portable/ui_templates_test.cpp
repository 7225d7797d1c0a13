// The Windows resource script against the one template table: a control the script declares
// must have the table's id, kind, text and rectangle, so the two cannot drift apart.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "os/vocabulary.h"
#include "ui/dialog_templates.h"

namespace corvane {
namespace {

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(CORVANE_SOURCE_DIR) + "/" + relative);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The #define lines of resource.h: name to number.
std::map<std::string, int> ResourceIds() {
    std::map<std::string, int> ids{{"IDC_STATIC", kIdcStatic}, {"IDCANCEL", 2}, {"IDOK", 1}};
    std::istringstream in(ReadSource("src/hosts/win32/resource.h"));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string hash, name, value;
        if (words >> hash >> name >> value && hash == "#define" &&
            (std::isdigit(static_cast<unsigned char>(value[0])) != 0))
            ids[name] = std::stoi(value);
    }
    return ids;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    const auto e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// The comma-separated fields of a control statement, quotes kept whole.
std::vector<std::string> Fields(const std::string& rest) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : rest) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    for (auto& f : fields)
        f = Trim(f);
    return fields;
}

struct RcControl {
    std::string keyword;
    int id = 0;
    std::optional<std::string> text;
    TemplateRect rect{};
    std::string windowClass;
};

struct RcDialog {
    TemplateRect frame{};
    std::string caption, font;
    std::vector<RcControl> controls;
    bool found = false;
};

std::string Unquote(const std::string& s) {
    return s.size() >= 2 && s.front() == '"' ? s.substr(1, s.size() - 2) : s;
}

// The DIALOGEX block named name of the script.
RcDialog ParseDialog(const std::string& script, const std::string& name) {
    const auto ids = ResourceIds();
    auto idOf = [&](const std::string& token) {
        auto it = ids.find(token);
        return it != ids.end() ? it->second : std::stoi(token);
    };
    RcDialog dialog;
    std::istringstream in(script);
    std::string line;
    bool inside = false, body = false;
    while (std::getline(in, line)) {
        const std::string t = Trim(line);
        std::istringstream words(t);
        std::string first, second;
        words >> first >> second;
        if (!inside) {
            if (first == name && second == "DIALOGEX") {
                inside = dialog.found = true;
                const auto f = Fields(t.substr(t.find("DIALOGEX") + 8));
                dialog.frame = {std::stoi(f[0]), std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3])};
            }
            continue;
        }
        if (first == "CAPTION")
            dialog.caption = Unquote(Trim(t.substr(7)));
        else if (first == "FONT")
            dialog.font = Trim(t.substr(4));
        else if (first == "BEGIN")
            body = true;
        else if (first == "END")
            break;
        else if (body && !first.empty() && first.rfind("//", 0) != 0) {
            RcControl c;
            c.keyword = first;
            auto f = Fields(t.substr(first.size()));
            std::size_t at = 0;
            if (first != "EDITTEXT" && first != "COMBOBOX")
                c.text = Unquote(f[at++]);
            c.id = idOf(f[at++]);
            if (first == "CONTROL") {
                c.windowClass = Unquote(f[at++]);
                ++at; // the style
            }
            c.rect = {std::stoi(f[at]), std::stoi(f[at + 1]), std::stoi(f[at + 2]),
                      std::stoi(f[at + 3])};
            dialog.controls.push_back(c);
        }
    }
    return dialog;
}

ControlKind KindOf(const RcControl& c) {
    const std::string& k = c.keyword;
    if (k == "EDITTEXT")
        return ControlKind::Edit;
    if (k == "PUSHBUTTON" || k == "DEFPUSHBUTTON")
        return ControlKind::PushButton;
    if (k == "AUTORADIOBUTTON" || k == "RADIOBUTTON")
        return ControlKind::RadioButton;
    if (k == "COMBOBOX")
        return ControlKind::ComboBox;
    if (k == "CONTROL" && c.windowClass == "msctls_progress32")
        return ControlKind::ProgressBar;
    return ControlKind::Static;
}

// Checks every control the script declares against the table; returns the ids it matched.
std::set<int> ExpectMatches(const RcDialog& rc, const DialogTemplate& table) {
    std::set<int> matched;
    EXPECT_TRUE(rc.found);
    EXPECT_EQ(rc.frame, (TemplateRect{0, 0, table.width, table.height}));
    EXPECT_EQ(rc.caption, table.caption);
    EXPECT_EQ(rc.font, std::to_string(table.fontPoints) + ", \"" + table.fontFace + "\"");
    for (const RcControl& c : rc.controls) {
        const DialogControl* want = nullptr;
        for (const DialogControl& d : table.controls)
            if (d.id == c.id && (c.id != kIdcStatic || d.text == *c.text))
                want = &d;
        // Ids of no table control are the frame's own (its OK and Cancel buttons).
        if (want == nullptr) {
            EXPECT_TRUE(c.id == 1 || c.id == 2) << "control " << c.id << " is not in the table";
            continue;
        }
        SCOPED_TRACE("control " + std::to_string(c.id));
        EXPECT_EQ(KindOf(c), want->kind);
        EXPECT_EQ(c.text.value_or(""), want->text ? want->text : "");
        EXPECT_EQ(c.rect, want->rect);
        matched.insert(c.id);
    }
    return matched;
}

TEST(DialogTemplates, TheResourceScriptDeclaresTheTablesControls) {
    const std::string script = ReadSource("src/hosts/win32/corvane.rc");
    ASSERT_FALSE(script.empty());

    // The About box is complete in the script: all three lines.
    const auto about = ExpectMatches(ParseDialog(script, "IDD_ABOUTBOX"), AboutBoxTemplate());
    EXPECT_EQ(about, (std::set<int>{kIdcAboutTitle, kIdcStatic, kIdcAboutWeb}));

    // The main window's script holds every control of the table, in the table's (tab) order.
    const RcDialog rc = ParseDialog(script, "IDD_CORVANE_DIALOG");
    const auto main = ExpectMatches(rc, MainDialogTemplate());
    std::vector<int> scriptOrder, tableOrder;
    for (const RcControl& c : rc.controls)
        scriptOrder.push_back(c.id);
    for (const DialogControl& d : MainDialogTemplate().controls) {
        tableOrder.push_back(d.id);
        EXPECT_TRUE(main.contains(d.id)) << "control " << d.id << " is missing from the script";
    }
    EXPECT_EQ(scriptOrder, tableOrder);

    EXPECT_NE(script.find(std::string("IDS_ABOUTBOX    \"") + kAboutMenuText + "\""),
              std::string::npos);
    const auto ids = ResourceIds();
    EXPECT_EQ(ids.at("IDD_CORVANE_DIALOG"), kIddMainDialog);
    EXPECT_EQ(ids.at("IDD_ABOUTBOX"), kIddAboutBox);
    EXPECT_EQ(ids.at("IDS_ABOUTBOX"), kIdsAboutBox);
    EXPECT_EQ(ids.at("IDR_MAINFRAME"), kIdrMainFrame);
}

TEST(DialogTemplates, TheRightColumnIsAGridOf27Pixels) {
    // Captions at 526 and fields at 649, rows from y = 34, in the panel's order.
    const int rows[][2] = {
        {1209, kIdcDriveLetter},  {1210, kIdcBrand},           {1211, kIdcModel},
        {1212, kIdcDriveType},    {1544, kIdcInterface},       {1545, kIdcFirmware},
        {1215, kIdcMaxSize},      {1222, kIdcFormatSize},      {1223, kIdcFreeSpace},
        {1224, kIdcUsedSpace},    {1225, kIdcTestingSector},   {1226, kIdcSectorsRemaining},
        {1227, kIdcAmountTested}, {1546, kIdcAmountRemaining}, {1549, kIdcSizePerPlot}};
    const DialogTemplate& t = MainDialogTemplate();
    for (int r = 0; r < 15; ++r) {
        const int y = 34 + 27 * r;
        EXPECT_EQ(FindControl(t, rows[r][0])->finalPosition, (Point{526, y})) << r;
        EXPECT_EQ(FindControl(t, rows[r][1])->finalPosition, (Point{649, y})) << r;
    }
    EXPECT_EQ(t.controls.size(), 40u);
    EXPECT_FALSE(FindControl(t, kIdcStatus)->finalPosition.has_value());
}

} // namespace
} // namespace corvane
