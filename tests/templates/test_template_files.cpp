// The written template files: their line forms, figures and characters.

#include "template_test_util.h"

#include <algorithm>

using namespace tpltest;
namespace tpl = lumaris::modTemplateSlips;

namespace {

const std::vector<std::string> kControlKeys = {
    "Id",        "Text",        "Field",      "Type",     "Alignment",     "VAlignment",
    "Border",    "FontBold",    "FontItalic", "FontName", "FontUnderline", "FontSize",
    "Left",      "Top",         "Width",      "Height",   "BackStyle",     "BackColor",
    "ForeColor", "IgnorePrint", "FilePath",   "Wordwrap"};

size_t countOf(const std::string& s, const std::string& what) {
    size_t n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

std::vector<Section> sectionsOf(int form) {
    return parseSections(tpl::templateLines(form));
}

// Text of control id in the template's sections.
std::string textOf(const std::vector<Section>& sections, int id) {
    for (const Section& s : sections) {
        if (ctlNumber(s.name) == id) {
            return s.get("Text");
        }
    }
    return "<no section>";
}

using TemplateFiles = TemplateFolderTest;

TEST_F(TemplateFiles, EachTemplateHasItsStatedShape) {
    for (const Stated& st : statedFigures()) {
        SCOPED_TRACE("form " + std::to_string(st.form));
        const std::string bytes = writeTemplate(st.form);
        std::vector<std::string> fileLines;
        ASSERT_TRUE(splitCrLf(bytes, fileLines)) << "every line ends with CR LF, nothing after";
        EXPECT_EQ(fileLines.size(), static_cast<size_t>(st.lines));
        if (st.bytes) {
            EXPECT_EQ(bytes.size(), *st.bytes);
        }

        // Decoding gives back the template's own text: no character was lost to
        // a "?" on the way into code page 1256.
        const std::vector<std::string> lines = tpl::templateLines(st.form);
        ASSERT_EQ(lines.size(), fileLines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lumaris::cp1256ToUtf8(fileLines[i]), lines[i]) << "line " << i + 1;
        }

        const std::vector<Section> sections = parseSections(lines);
        ASSERT_GE(sections.size(), 2u);
        EXPECT_EQ(sections[0].name, "Main");
        const decltype(Section::keys) main = {{"Ver", std::to_string(st.ver)},
                                              {"FormNum", std::to_string(st.form)},
                                              {"CTL_Count", std::to_string(st.ctlCount)}};
        EXPECT_EQ(sections[0].keys, main);
        EXPECT_EQ(sections[1].name, "Page");
        const decltype(Section::keys) page = {{"Size", "9"},
                                              {"Width", "210"},
                                              {"Height", "297"},
                                              {"Orientation", std::to_string(st.orientation)}};
        EXPECT_EQ(sections[1].keys, page);

        // Ver 1 files have no Wordwrap key; everything else keeps the order.
        std::vector<std::string> keyOrder = kControlKeys;
        if (st.ver == 1) {
            keyOrder.pop_back();
        }
        std::vector<int> present;
        for (size_t i = 2; i < sections.size(); ++i) {
            const Section& s = sections[i];
            const int id = ctlNumber(s.name);
            ASSERT_GT(id, 0) << s.name;
            present.push_back(id);
            std::vector<std::string> keys;
            for (const auto& kv : s.keys) {
                keys.push_back(kv.first);
            }
            EXPECT_EQ(keys, keyOrder) << s.name;
            EXPECT_EQ(s.get("Id"), std::to_string(id));
            EXPECT_EQ(s.get("FontItalic"), "False") << s.name;
            EXPECT_EQ(s.get("IgnorePrint"), "False") << s.name;
            EXPECT_EQ(s.get("FilePath"), "") << s.name;
        }
        std::vector<int> expected;
        for (int id = 1; id <= st.ctlCount; ++id) {
            if (!st.gaps.count(id)) {
                expected.push_back(id);
            }
        }
        EXPECT_EQ(present, expected) << "sections present, ascending, gaps left out";
    }
}

TEST(TemplateText, FontNamesAndLogoCaptionsKeepTheirCase) {
    for (const Stated& st : statedFigures()) {
        SCOPED_TRACE("form " + std::to_string(st.form));
        std::set<std::string> fonts;
        std::set<std::string> logoTexts;
        for (const Section& s : sectionsOf(st.form)) {
            if (ctlNumber(s.name) < 0) {
                continue;
            }
            fonts.insert(s.get("FontName"));
            if (s.get("Type") == "3") {
                logoTexts.insert(s.get("Text"));
            }
        }
        EXPECT_EQ(fonts, st.fontNames);
        const std::set<std::string> logo =
            st.logoText.empty() ? std::set<std::string>{} : std::set<std::string>{st.logoText};
        EXPECT_EQ(logoTexts, logo);
    }
}

TEST(TemplateText, ChequesAndCompaniesChequeDifferOnlyInFormNumber) {
    const auto five = tpl::templateLines(5);
    const auto twelve = tpl::templateLines(12);
    ASSERT_EQ(five.size(), 170u);
    ASSERT_EQ(twelve.size(), 170u);
    for (size_t i = 0; i < five.size(); ++i) {
        if (i == 2) {
            EXPECT_EQ(five[i], "  FormNum=5");
            EXPECT_EQ(twelve[i], "  FormNum=12");
        } else {
            EXPECT_EQ(five[i], twelve[i]) << "line " << i + 1;
        }
    }
}

TEST(TemplateText, NearBlackBackgroundOnlyUnderTransparentControls) {
    // Back colour 1 is RGB(1,0,0): opaque it would black out the text, so it
    // only ever stands where the background is not drawn.
    for (const Stated& st : statedFigures()) {
        for (const Section& s : sectionsOf(st.form)) {
            if (s.get("BackColor") == "1") {
                EXPECT_EQ(s.get("BackStyle"), "True") << "form " << st.form << " " << s.name;
            }
        }
    }
}

TEST(TemplateText, ColumnHeadsCarryTheirTatweel) {
    const std::string tatweel = "\u0640";
    // Deposit slip and entry voucher: three tatweel in the description head;
    // the double entry voucher: fourteen, in both grids.
    const std::string three = "البي" + tatweel + tatweel + tatweel + "ان";
    std::string fourteen = "البي";
    for (int i = 0; i < 14; ++i) {
        fourteen += tatweel;
    }
    fourteen += "ان";
    EXPECT_EQ(textOf(sectionsOf(1), 15), three);
    EXPECT_EQ(textOf(sectionsOf(4), 11), three);
    EXPECT_EQ(textOf(sectionsOf(10), 13), fourteen);
    EXPECT_EQ(textOf(sectionsOf(10), 32), fourteen);

    // In the file each tatweel is the single byte 0xDC.
    const auto lines = tpl::templateLines(1);
    const auto it = std::find(lines.begin(), lines.end(), "  Text=" + three);
    ASSERT_NE(it, lines.end());
    EXPECT_EQ(lumaris::utf8ToCp1256(*it), "  Text=\xC7\xE1\xC8\xED\xDC\xDC\xDC\xC7\xE4");
}

TEST(TemplateText, AccountOpeningTermsHoldTheirCharacters) {
    const auto sections = sectionsOf(11);
    const std::string tatweel = "\u0640", comma = "\u060C", fathatan = "\u064B";

    // Request sentence: 45 tatweel in 15 runs; "in the name of": 3; heading: 9.
    const std::string request = textOf(sections, 15);
    EXPECT_EQ(countOf(request, tatweel), 45u);
    size_t runs = 0;
    for (size_t at = request.find(tatweel); at != std::string::npos;
         at = request.find(tatweel, at)) {
        ++runs;
        while (request.compare(at, tatweel.size(), tatweel) == 0) {
            at += tatweel.size();
        }
    }
    EXPECT_EQ(runs, 15u);
    EXPECT_EQ(countOf(textOf(sections, 16), tatweel), 3u);
    EXPECT_EQ(countOf(textOf(sections, 21), tatweel), 9u);

    // Term 1 runs on from 43 (four commas, ending on one) to 44 (full stop).
    const std::string term1a = textOf(sections, 43), term1b = textOf(sections, 44);
    EXPECT_EQ(countOf(term1a, comma), 4u);
    EXPECT_TRUE(term1a.ends_with(comma));
    EXPECT_TRUE(term1b.ends_with("."));

    // Term 2: "2-", blank, RIGHT-TO-LEFT MARK, blank; a spaced comma; runs on.
    const std::string term2a = textOf(sections, 45), term2b = textOf(sections, 46);
    EXPECT_TRUE(term2a.starts_with("2- \u200F تعتبر"));
    EXPECT_EQ(countOf(term2a, "\u200F"), 1u);
    EXPECT_NE(term2a.find("تتجزأ " + comma + " كما"), std::string::npos);
    EXPECT_TRUE(term2a.ends_with("من"));
    EXPECT_NE(term2b.find("ضماناً"), std::string::npos);
    EXPECT_NE(term2b.find("تجارياً"), std::string::npos);
    EXPECT_EQ(countOf(term2b, fathatan), 2u);

    // In code page 1256 one character is one byte, so the three longest file
    // lines (the Text lines of 45, 43 and 44) are 130, 127 and 125 bytes.
    std::vector<size_t> lengths;
    for (const auto& line : tpl::templateLines(11)) {
        lengths.push_back(lumaris::utf8ToCp1256(line).size());
    }
    std::sort(lengths.rbegin(), lengths.rend());
    EXPECT_EQ(std::vector<size_t>(lengths.begin(), lengths.begin() + 3),
              (std::vector<size_t>{130, 127, 125}));
    EXPECT_EQ(lumaris::utf8ToCp1256("\u200F"), "\xFE");
}

} // namespace
