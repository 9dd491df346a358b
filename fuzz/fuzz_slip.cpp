// The slip reader and writer: a design opened from any bytes, written and
// opened again, is the same design.
//
// Apart from what the format cannot hold, which decides the strings that are
// compared: a value is cut to 254 bytes of code page 1256 and loses the blanks
// around it; characters outside the code page
// become "?"; NUL is dropped; a line break in a name or path is dropped and one
// in a text is written as "||", which cannot be told from a "|" beside it nor
// from a lone CR or LF. Control ids are written as the control's position.
// Whatever the first round trip changes, a second one (write, open, write)
// must give the same bytes again.

#include <cstdint>
#include <string>

#include "core/cp1256.h"
#include "core/slipdoc.h"
#include "fuzz_util.h"

namespace {

using lumaris::CtlRecord;

struct Design {
    std::array<CtlRecord, lumaris::kMaxControls + 1> ctl;
    lumaris::PageSetup page;
    int formNum, ctlCount;

    static Design current() {
        return {lumaris::gCtl, lumaris::gPage, lumaris::gFormNum, lumaris::gCtlCount};
    }
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// True when the value comes back from the file as it is.
bool plain(const std::string& s, bool lines) {
    if (s.empty())
        return true;
    if (isBlank(s.front()) || isBlank(s.back()))
        return false;
    if (lumaris::cp1256ToUtf8(lumaris::utf8ToCp1256(s)) != s ||
        lumaris::utf8ToCp1256(s).size() > 254)
        return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\0' || c == '|' || c == '\\')
            return false;
        if (c == '\r' && (!lines || i + 1 == s.size() || s[i + 1] != '\n'))
            return false;
        if (c == '\n' && (!lines || i == 0 || s[i - 1] != '\r'))
            return false;
    }
    return true;
}

bool sameBits(float a, float b) {
    return a == b || (a != a && b != b);
}

void compare(const Design& a, const Design& b) {
    FUZZ_CHECK(a.formNum == b.formNum && a.ctlCount == b.ctlCount);
    FUZZ_CHECK(a.page.Size == b.page.Size && a.page.Orientation == b.page.Orientation);
    for (int i = 1; i <= lumaris::kMaxControls; ++i) {
        const CtlRecord &x = a.ctl[i], &y = b.ctl[i];
        FUZZ_CHECK(x.Type == y.Type && x.Field == y.Field && x.Alignment == y.Alignment);
        FUZZ_CHECK(x.VAlignment == y.VAlignment && x.FontSize == y.FontSize);
        FUZZ_CHECK(x.FontItalic == y.FontItalic && x.FontBold == y.FontBold &&
                   x.FontUnderline == y.FontUnderline && x.Border == y.Border);
        FUZZ_CHECK(sameBits(x.Left, y.Left) && sameBits(x.Top, y.Top) &&
                   sameBits(x.Width, y.Width) && sameBits(x.Height, y.Height));
        FUZZ_CHECK(x.Order == y.Order && x.BackColor == y.BackColor && x.ForeColor == y.ForeColor &&
                   x.IgnorePrint == y.IgnorePrint);
        FUZZ_CHECK(x.BackStyle == y.BackStyle && x.Wordwrap == y.Wordwrap);
        FUZZ_CHECK(x.Type == 0 || y.Id == i);
        if (plain(x.Text, true))
            FUZZ_CHECK(x.Text == y.Text);
        if (plain(x.FontName, false))
            FUZZ_CHECK(x.FontName == y.FontName);
        if (plain(x.FilePath, false))
            FUZZ_CHECK(x.FilePath == y.FilePath);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = fuzz::writeFile("in.slp", {reinterpret_cast<const char*>(data), size});
    FUZZ_CHECK(lumaris::OpenSlipFile(in));
    const Design first = Design::current();

    const std::string once = fuzz::file("once.slp"), twice = fuzz::file("twice.slp");
    FUZZ_CHECK(lumaris::WriteSlipFile(once));
    lumaris::clearProfileCache();
    FUZZ_CHECK(lumaris::OpenSlipFile(once));
    compare(first, Design::current());

    FUZZ_CHECK(lumaris::WriteSlipFile(twice));
    const std::string twiceBytes = fuzz::readFile(twice);
    lumaris::clearProfileCache();
    FUZZ_CHECK(lumaris::OpenSlipFile(twice));
    FUZZ_CHECK(lumaris::slipText() == twiceBytes);
    return 0;
}
