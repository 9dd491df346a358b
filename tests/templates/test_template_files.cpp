#include "core/cp1256.h"
#include "core/slipdoc.h"
#include "templates/modTemplateSlips.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <sys/wait.h>

#include "../core/testutil.h"

using namespace lumaris;
namespace fs = std::filesystem;
namespace tpl = lumaris::modTemplateSlips;
using Names = std::vector<std::string>;

namespace {

// What each template is known to be. Lines, bytes and SHA-256 of the written file come
// from a transcription of the designs made apart from this code: any slip of a digit or
// a letter in a row changes them.
struct Stated {
    int form, ver, orientation, ctlCount;
    std::set<int> gaps; // control numbers up to ctlCount with no section
    int lines, bytes, fixedTexts, dataFields, logos;
    const char* sha256;
};

// clang-format off
const Stated kStated[] = {
    {1, 2, 1, 34, {8, 14, 16, 21, 28, 32}, 653, 10657, 12, 15, 1,
     "aa43ef611692dd61e4bc99812f8dd83efd60398fd19651993257993a15694c12"},
    {2, 2, 2, 14, {}, 331, 5416, 0, 14, 0,
     "026d4ab59bb0bd803a30dcabb5c7648f19a583babd6c215f6f1e210607e810f1"},
    {3, 1, 1, 9, {}, 207, 3357, 0, 9, 0,
     "83809892c07e856f44287bbeee53c82e0760973ff6c4bdb4b1f5898f74b5517c"},
    {4, 2, 1, 33, {4, 10, 12, 13, 14, 15, 20, 24, 25}, 561, 9139, 9, 14, 1,
     "a45a86dc5f9cd692b4c49aec5cd2440c9557923d91958f370e48f2a99385ea09"},
    {5, 2, 2, 19, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 19}, 170, 2774, 0, 7, 0,
     "897682fb5a39e0869e6f23bdad7cf4bf2b2b3208fd8c37f73f25c58c651519eb"},
    {6, 2, 1, 43, {}, 998, 16530, 20, 22, 1,
     "dd684ad26dd1f0c9ae91cee7fb8492c6ba15235955acdf1fb292bbbf6b13660d"},
    {7, 2, 1, 48, {12, 22, 30}, 1044, 17278, 20, 24, 1,
     "39ac4cf54baba337184d269b67d77596fbeb5f984acea2cb554ad59738f53c65"},
    {8, 2, 1, 47, {18, 19, 22, 27, 30, 46}, 952, 15666, 20, 20, 1,
     "6831964b3450edb2f31fa56716b4c8b406e562b1da183b4032829026fa883e48"},
    {9, 2, 1, 0, {}, 9, 107, 0, 0, 0,
     "458b5fa4668c43363fc8a38c607572019d73342bd302a712b9ef4bdf838c3dac"},
    {10, 2, 1, 54, {1, 2, 4, 28, 30}, 1136, 18952, 21, 27, 1,
     "eec5536115b60463f53b3a64edc1809c9d138e9f7f5f9f708782ed5f75eff0ef"},
    {11, 2, 1, 60, {}, 1389, 23374, 37, 22, 1,
     "dc60998409bff876c308e13f6afb98df0f4c92f51e6e1fd2e42043c24f777b4d"},
    {12, 2, 2, 19, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 19}, 170, 2775, 0, 7, 0,
     "9ef3890fc4d4e95335b6bc819ffd0fdf68964b2f78863742be55e1af0cd3111d"},
};
const Names kControlKeys = {"Id", "Text", "Field", "Type", "Alignment", "VAlignment", "Border",
    "FontBold", "FontItalic", "FontName", "FontUnderline", "FontSize", "Left", "Top", "Width",
    "Height", "BackStyle", "BackColor", "ForeColor", "IgnorePrint", "FilePath", "Wordwrap"};
// clang-format on

struct Control {
    Names order; // key names in file order
    std::map<std::string, std::string> keys;
    double num(const char* key) const { return std::stod(keys.at(key)); }
};

// A template's controls by number. Every line is "[name]" or "  key=value".
std::map<int, Control> controlsOf(int form) {
    std::map<int, Control> controls;
    Control* last = nullptr;
    Control other;
    for (const std::string& line : tpl::templateLines(form)) {
        const size_t eq = line.find('=');
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            const bool ctl = line.size() == 9 && line.starts_with("[CTL_");
            last = ctl ? &controls[std::stoi(line.substr(5, 3))] : &(other = {});
        } else if (!last || !line.starts_with("  ") || eq == std::string::npos || line[2] == ' ' ||
                   line[eq - 1] == ' ') {
            ADD_FAILURE() << "form " << form << " malformed line: " << line;
        } else {
            last->order.push_back(line.substr(2, eq - 2));
            last->keys[line.substr(2, eq - 2)] = line.substr(eq + 1);
        }
    }
    return controls;
}

std::string writeTemplate(int n) {
    tpl::SelectTempFile(n);
    return test::readBytes(tpl::tmpSlpPath());
}

} // namespace

TEST(Templates, EachHasItsStatedShapeAndOpensAsTheNewSlip) {
    test::TmpdirScope scratch;
    int boxesWithContent = 0;
    for (const Stated& st : kStated) {
        SCOPED_TRACE("form " + std::to_string(st.form));
        const std::string bytes = writeTemplate(st.form);
        // CR LF ends every line and only there; no character became a "?".
        std::string text;
        for (const std::string& line : tpl::templateLines(st.form))
            text += line + "\r\n";
        EXPECT_EQ(cp1256ToUtf8(bytes), text);
        EXPECT_EQ(std::ranges::count(bytes, '\n'), st.lines);
        EXPECT_EQ(bytes.size(), size_t(st.bytes));
        EXPECT_EQ(
            QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
                .toHex(),
            st.sha256);
        EXPECT_TRUE(text.starts_with("[Main]\r\n  Ver=" + std::to_string(st.ver) + "\r\n"));

        // Read back as stated, without pictures, wrapping in Ver 1; Ver 2 writes back as is.
        ASSERT_TRUE(OpenSlipFile(tpl::tmpSlpPath().string()));
        EXPECT_EQ(std::tuple(gFormNum, gCtlCount, gPage.Orientation),
                  std::tuple(st.form, st.ctlCount, st.orientation));
        EXPECT_TRUE(st.ver == 1 || slipText() == bytes);
        std::map<int, int> byType;
        for (int i = 1; i <= st.ctlCount; ++i) {
            ++byType[gCtl[i].Type];
            EXPECT_TRUE(gCtl[i].FilePath.empty() && (gCtl[i].Wordwrap || st.ver != 1) &&
                        (gCtl[i].Type == 0) == st.gaps.contains(i))
                << i;
        }
        EXPECT_EQ(std::tuple(byType[1], byType[2], byType[3]),
                  std::tuple(st.fixedTexts, st.dataFields, st.logos));

        // Keys in order, whole texts. What is centred in a box (an empty bordered
        // text) stacks in front of it; opaque back colour 1 would black text out.
        const Names keyOrder(kControlKeys.begin(), kControlKeys.end() - (st.ver == 1));
        const std::map<int, Control> controls = controlsOf(st.form);
        for (const auto& [boxId, box] : controls) {
            const auto& k = box.keys;
            EXPECT_TRUE(box.order == keyOrder && k.at("Id") == std::to_string(boxId)) << boxId;
            EXPECT_TRUE(gCtl[boxId].Text == k.at("Text")) << boxId;
            EXPECT_TRUE(k.at("BackColor") != "1" || k.at("BackStyle") == "True") << boxId;
            if (k.at("Type") != "1" || !k.at("Text").empty() || k.at("Border") != "True")
                continue;
            bool holds = false;
            for (const auto& [id, c] : controls) {
                const double cx = c.num("Left") + c.num("Width") / 2 - box.num("Left"),
                             cy = c.num("Top") + c.num("Height") / 2 - box.num("Top");
                if ((c.keys.at("Type") != "1" || !c.keys.at("Text").empty()) && cx >= 0 &&
                    cx <= box.num("Width") && cy >= 0 && cy <= box.num("Height")) {
                    holds = true;
                    EXPECT_LT(id, boxId);
                }
            }
            boxesWithContent += holds;
        }
    }
    EXPECT_EQ(boxesWithContent, 18); // forms 1 and 4 four each, 7 two, 8 three, 11 five
}

TEST(Templates, WritesAreWholeOrNothing) {
    test::TmpdirScope scratch;
    const fs::path path = tpl::tmpSlpPath(), outside = scratch.path / "someone-elses-file";
    // The longest template, then the shortest: no tail of the longer stays.
    writeTemplate(11);
    const std::string earlier = writeTemplate(9);
    for (int n : {0, 13}) // no such template: the earlier file stays
        EXPECT_EQ(writeTemplate(n), earlier) << n;
    // A link at tmp.slp is replaced, not followed; a folder in the way is kept.
    test::writeFile(outside, "not a slip");
    fs::remove(path);
    fs::create_symlink(outside, path);
    EXPECT_EQ(writeTemplate(9), earlier);
    fs::remove(path);
    fs::create_directories(path / "inside");
    std::string why;
    EXPECT_FALSE(tpl::SelectTempFile(1, &why));
    EXPECT_EQ(why, path.string() + ": " + std::strerror(EISDIR));
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), {}), 1);
    // With TMPDIR naming a plain file there is no private folder: nothing is written.
    ::setenv("TMPDIR", outside.c_str(), 1);
    EXPECT_FALSE(tpl::SelectTempFile(1));
    EXPECT_EQ(test::readBytes(outside), "not a slip");
}

// Runs of one user share tmp.slp: each started at once must open its own, whole.
TEST(Templates, ConcurrentRunsEachOpenTheirOwn) {
    test::TmpdirScope scratch;
    std::map<int, std::string> expected;
    for (int form : {3, 6, 9, 11})
        expected[form] = tpl::OpenTemplate(form) ? slipText() : "";
    for (int round = 0; round < 25; ++round) {
        int gate[2]; // closed by the parent: all start together
        ASSERT_EQ(::pipe(gate), 0);
        std::map<pid_t, int> children;
        for (const auto& [form, text] : expected)
            if (const pid_t pid = ::fork(); pid == 0) {
                char go;
                ::close(gate[1]);
                const bool own = ::read(gate[0], &go, 1) == 0 && tpl::OpenTemplate(form);
                ::_exit(own && slipText() == text ? 0 : 1);
            } else {
                children[pid] = form;
            }
        ::close(gate[0]);
        ::close(gate[1]);
        for (const auto& [pid, form] : children) {
            int status = 1;
            EXPECT_TRUE(::waitpid(pid, &status, 0) == pid && status == 0) << round << "/" << form;
        }
    }
}
