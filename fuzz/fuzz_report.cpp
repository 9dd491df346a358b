// The report file. Showing a report (frmGeneralSlip::ShowVyrRep) takes its
// logo out of the hex block named "logo" and loads it as a BMP, then shows
// its text as a slip through the profile reader (fuzz_profile covers that
// reader; the window itself is not run here). Saving builds the report text
// from a slip: whatever the slip holds, that text must read back with the
// sections and control types it was written with, or the report would not
// show what was saved.

#include <QImage>
#include <cstdint>
#include <string>

#include "core/hexblock.h"
#include "core/profile.h"
#include "core/slipdoc.h"
#include "core/values.h"
#include "fuzz_util.h"
#include "preview/reportfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::writeFile("in.Dqmx", input);

    const std::string logo = fuzz::file("logo.bmp");
    FUZZ_CHECK(lumaris::extractHexBlock(path, logo, "logo"));
    QImage picture;
    (void)picture.load(QString::fromStdString(logo), "BMP");

    // Arabic values, and values whose line breaks would start sections and
    // keys of their own if they were written as they are.
    lumaris::FieldValueArray values;
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = i % 2 ? "\xd9\x82\xd9\x8a\xd9\x85\xd8\xa9 " + std::to_string(i)
                          : "a\r\n[CTL_001]\rType= 3\nField= 1\r\n";
    const lumaris::ReportText report = lumaris::buildReportText(path, values);

    const std::string saved = fuzz::writeFile("saved.Dqmx", report.text);
    const lumaris::ProfilePin pinInput(path), pinSaved(saved);
    const std::vector<std::string> sections = lumaris::profileSectionNames(saved);
    FUZZ_CHECK(sections.size() >= 2 && sections[0] == "Main" && sections[1] == "Page");
    const double count =
        lumaris::leadingNumber(lumaris::readProfileString(path, "Main", "CTL_Count"));
    const auto controls = lumaris::existingControlNumbers(path, count);
    size_t written = 2;
    for (long long number : controls) {
        const std::string section = lumaris::controlSection(number);
        if (lumaris::leadingNumber(lumaris::readProfileString(path, section, "Type")) == 0)
            continue;
        FUZZ_CHECK(written < sections.size() && sections[written++] == section);
        const std::string type = lumaris::readProfileString(saved, section, "Type");
        FUZZ_CHECK(type == "1" || type == "3");
        FUZZ_CHECK(lumaris::readProfileString(saved, section, "Field") ==
                   (type == "1" ? "0" : "LOGO"));
        FUZZ_CHECK((type == "3") <= report.hasLogo);
    }
    FUZZ_CHECK(written == sections.size());
    return 0;
}
