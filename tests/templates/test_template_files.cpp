#include "core/slipdoc.h"
#include "templates/modTemplateSlips.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sys/wait.h>

#include "../core/testutil.h"

using namespace lumaris;
namespace fs = std::filesystem;
namespace tpl = lumaris::modTemplateSlips;

namespace {

// Each written template's lines, bytes and SHA-256, forms 1 to 12, from a transcription
// of the designs made apart from this code, so that any slip of a digit or a letter shows.
// clang-format off
const std::tuple<int, int, const char*> kStated[] = {
    {653, 10657, "aa43ef611692dd61e4bc99812f8dd83efd60398fd19651993257993a15694c12"},
    {331, 5416, "026d4ab59bb0bd803a30dcabb5c7648f19a583babd6c215f6f1e210607e810f1"},
    {207, 3357, "83809892c07e856f44287bbeee53c82e0760973ff6c4bdb4b1f5898f74b5517c"},
    {561, 9139, "a45a86dc5f9cd692b4c49aec5cd2440c9557923d91958f370e48f2a99385ea09"},
    {170, 2774, "897682fb5a39e0869e6f23bdad7cf4bf2b2b3208fd8c37f73f25c58c651519eb"},
    {998, 16530, "dd684ad26dd1f0c9ae91cee7fb8492c6ba15235955acdf1fb292bbbf6b13660d"},
    {1044, 17278, "39ac4cf54baba337184d269b67d77596fbeb5f984acea2cb554ad59738f53c65"},
    {952, 15666, "6831964b3450edb2f31fa56716b4c8b406e562b1da183b4032829026fa883e48"},
    {9, 107, "458b5fa4668c43363fc8a38c607572019d73342bd302a712b9ef4bdf838c3dac"},
    {1136, 18952, "eec5536115b60463f53b3a64edc1809c9d138e9f7f5f9f708782ed5f75eff0ef"},
    {1389, 23374, "dc60998409bff876c308e13f6afb98df0f4c92f51e6e1fd2e42043c24f777b4d"},
    {170, 2775, "9ef3890fc4d4e95335b6bc819ffd0fdf68964b2f78863742be55e1af0cd3111d"},
};
// clang-format on

QByteArray writeTemplate(int n) {
    tpl::SelectTempFile(n);
    return QByteArray::fromStdString(test::readBytes(tpl::tmpSlpPath()));
}

} // namespace

TEST(Templates, EachIsWrittenAsDesignedAndOpensAsTheNewSlip) {
    test::TmpdirScope scratch;
    for (int form = 1; form <= 12; ++form) {
        SCOPED_TRACE("form " + std::to_string(form));
        const QByteArray bytes = writeTemplate(form);
        const auto& [lines, size, sha256] = kStated[form - 1];
        EXPECT_EQ(std::tuple(bytes.count('\n'), bytes.size()), std::tuple(lines, size));
        EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(), sha256);
        // Opened as the new slip, it writes back byte for byte, but for form 3: a Ver 1
        // slip is read, never written.
        ASSERT_TRUE(OpenSlipFile(tpl::tmpSlpPath().string()));
        EXPECT_TRUE(form == 3 || slipText() == bytes.toStdString());
    }
}

TEST(Templates, WritesAreWholeOrNothing) {
    test::TmpdirScope scratch;
    const fs::path path = tpl::tmpSlpPath(), outside = scratch.path / "someone-elses-file";
    // The longest template, then the shortest: no tail of the longer stays.
    writeTemplate(11);
    const QByteArray earlier = writeTemplate(9);
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
