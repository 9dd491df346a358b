// Templates as the new slip: opened by the slip reader, and checked against the
// field catalogue and the stacking rule of the designer.

#include "template_test_util.h"

#include "core/catalogues.h"
#include "core/slipdoc.h"

#include <algorithm>
#include <map>
#include <utility>

using namespace tpltest;
namespace tpl = lumaris::modTemplateSlips;

namespace {

using TemplateReadBack = TemplateFolderTest;

struct Ctl {
    int id, type, field;
    std::string text;
    int left, top, width, height;
    bool border;
};

std::vector<Ctl> controlsOf(int form) {
    std::vector<Ctl> ctls;
    for (const Section& s : parseSections(tpl::templateLines(form))) {
        const int id = ctlNumber(s.name);
        if (id < 0) {
            continue;
        }
        ctls.push_back({id, std::stoi(s.get("Type")), std::stoi(s.get("Field")), s.get("Text"),
                        std::stoi(s.get("Left")), std::stoi(s.get("Top")),
                        std::stoi(s.get("Width")), std::stoi(s.get("Height")),
                        s.get("Border") == "True"});
    }
    return ctls;
}

TEST_F(TemplateReadBack, EachTemplateOpensWithItsControlsAndFreeSlots) {
    for (const Stated& st : statedFigures()) {
        SCOPED_TRACE("form " + std::to_string(st.form));
        tpl::SelectTempFile(st.form);
        ASSERT_TRUE(lumaris::OpenSlipFile(tpl::tmpSlpPath().string()));
        EXPECT_EQ(lumaris::gFormNum, st.form);
        EXPECT_EQ(lumaris::gCtlCount, st.ctlCount);
        EXPECT_EQ(lumaris::gPage.Orientation, st.orientation);
        EXPECT_EQ(lumaris::gPage.Size, 9);

        std::map<int, int> byType;
        std::set<int> free;
        for (int i = 1; i <= st.ctlCount; ++i) {
            const lumaris::CtlRecord& c = lumaris::gCtl[i];
            ++byType[c.Type];
            if (c.Type == 0) {
                free.insert(i);
                continue;
            }
            EXPECT_EQ(c.Id, i);
            // A new logo box starts without a picture.
            EXPECT_TRUE(c.FilePath.empty()) << i;
        }
        EXPECT_EQ(free, st.gaps);
        EXPECT_EQ(byType[1], st.fixedTexts);
        EXPECT_EQ(byType[2], st.dataFields);
        EXPECT_EQ(byType[3], st.logos);

        // Texts come back whole: Arabic, marks, the longest of 123 characters.
        for (const Ctl& w : controlsOf(st.form)) {
            EXPECT_EQ(lumaris::gCtl[w.id].Text, w.text) << w.id;
        }
    }
}

TEST_F(TemplateReadBack, PaymentOrderWithoutWrapKeysWraps) {
    tpl::SelectTempFile(3);
    ASSERT_TRUE(lumaris::OpenSlipFile(tpl::tmpSlpPath().string()));
    for (int i = 1; i <= 9; ++i) {
        const lumaris::CtlRecord& c = lumaris::gCtl[i];
        EXPECT_TRUE(c.Wordwrap) << i;
        EXPECT_FALSE(c.Border || c.FontBold || c.FontItalic || c.FontUnderline || c.BackStyle ||
                     c.IgnorePrint)
            << i;
    }
}

TEST(TemplateFields, DataFieldsShowTheirCatalogueCaption) {
    // Captions that differ from the catalogue, kept as the forms print them:
    // the amount in words lacks its first letter, and the vault closing's
    // other-branches amounts are cut short.
    const std::string inWords = "لاجمالي بالحروف";
    const std::set<std::pair<int, int>> differing = {{1, 4},  {2, 3},  {3, 3}, {4, 18},
                                                     {7, 18}, {8, 16}, {6, 1}, {6, 3}};
    for (int form = 1; form <= 12; ++form) {
        for (const Ctl& c : controlsOf(form)) {
            if (c.type != 2) {
                continue;
            }
            ASSERT_GE(c.field, 0);
            ASSERT_LE(c.field, lumaris::kMaxField);
            if (differing.count({form, c.id})) {
                EXPECT_NE(c.text, lumaris::gFieldNames[c.field]) << form << "/" << c.id;
                if (c.field == 4) {
                    EXPECT_EQ(c.text, inWords);
                }
            } else {
                EXPECT_EQ(c.text, lumaris::gFieldNames[c.field]) << form << "/" << c.id;
            }
        }
    }
}

TEST(TemplateFields, BoundFieldsBelongToTheFormType) {
    // Forms with a field list; the entry voucher's 17-twip field 17 is the one
    // binding outside it (17 has no caption at all).
    for (int form : {4, 6, 7, 8, 10, 11}) {
        const std::vector<int>& allowed = lumaris::gFormTypes[form].fields;
        ASSERT_FALSE(allowed.empty()) << form;
        for (const Ctl& c : controlsOf(form)) {
            if (c.type != 2 || (form == 4 && c.id == 30)) {
                continue;
            }
            EXPECT_NE(std::find(allowed.begin(), allowed.end(), c.field), allowed.end())
                << "form " << form << " control " << c.id << " field " << c.field;
        }
    }
}

TEST(TemplateLayout, TextsInABoxAreStackedInFrontOfIt) {
    // An empty bordered fixed text is a box; anything centred in it must have
    // the lower number, or the box's background would hide it.
    int boxesWithContent = 0;
    for (int form = 1; form <= 12; ++form) {
        const std::vector<Ctl> ctls = controlsOf(form);
        for (const Ctl& box : ctls) {
            if (box.type != 1 || !box.text.empty() || !box.border) {
                continue;
            }
            bool holds = false;
            for (const Ctl& c : ctls) {
                if (c.type == 1 && c.text.empty()) {
                    continue;
                }
                const double cx = c.left + c.width / 2.0, cy = c.top + c.height / 2.0;
                if (cx >= box.left && cx <= box.left + box.width && cy >= box.top &&
                    cy <= box.top + box.height) {
                    holds = true;
                    EXPECT_LT(c.id, box.id) << "form " << form << " box " << box.id;
                }
            }
            boxesWithContent += holds;
        }
    }
    // Forms 1 and 4 four boxes each, 7 two, 8 three, 11 five.
    EXPECT_EQ(boxesWithContent, 18);
}

} // namespace
