#include "preview/clsPrinters.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <cmath>
#include <cstdio>
#include <cups/cups.h>
#include <cups/ppd.h>
#include <limits>
#include <set>

#include "platform/printer.h"

namespace lumaris {

namespace {

// A driver's paper name slot holds 64 characters.
constexpr int kNameSlot = 64;
constexpr double kTenthsMmPerInch = 254.0;
constexpr double kTenthsMmPerPoint = kTenthsMmPerInch / 72.0;
// A driver rounds its sizes to points, some by more than half a point (A5 as
// 421 points for 419.5); 3 points is about a millimetre.
constexpr double kTolerancePt = 3.0;
// Windows paper codes: none, and the first of the driver's own papers.
constexpr int kNoPaper = 0;
constexpr int kFirstOwnPaper = 256;

// A paper as the driver names it: its key (the PPD's option name, "A4",
// "SuperB"), its display name ("Super B") and its size in points.
struct DriverPaper {
    QString key;
    QString name;
    double widthPt = 0;
    double heightPt = 0;
};

// The standard paper code of a driver's paper: only when the platform knows a
// paper of that key and that size; near sizes or near names are other papers.
int standardCode(const DriverPaper& paper) {
    for (int i = 0; i <= int(QPageSize::LastPageSize); ++i) {
        const auto id = QPageSize::PageSizeId(i);
        if (QPageSize::key(id) != paper.key)
            continue;
        const QSizeF pt = QPageSize::definitionSize(id) *
                          (QPageSize::definitionUnits(id) == QPageSize::Inch ? 72.0 : 72.0 / 25.4);
        if (std::abs(pt.width() - paper.widthPt) <= kTolerancePt &&
            std::abs(pt.height() - paper.heightPt) <= kTolerancePt)
            return QPageSize::windowsId(id);
    }
    return kNoPaper;
}

// The paper's size in tenths of a millimetre: the exact size from CUPS's table
// of standard papers where it knows a paper of that key and size (A4 is 210 x
// 297 mm, which the driver gives as 595 x 842 points), else the driver's.
QSizeF sizeTenthsMm(const DriverPaper& paper) {
    constexpr double kHundredthsMmPerPoint = 2540.0 / 72.0;
    const pwg_media_t* media = pwgMediaForPPD(paper.key.toUtf8().constData());
    if (media && std::abs(media->width / kHundredthsMmPerPoint - paper.widthPt) <= kTolerancePt &&
        std::abs(media->length / kHundredthsMmPerPoint - paper.heightPt) <= kTolerancePt)
        return QSizeF(media->width / 10.0, media->length / 10.0);
    return QSizeF(paper.widthPt, paper.heightPt) * kTenthsMmPerPoint;
}

// Numbers the papers: a standard paper keeps its standard code, every other
// one (and a second paper that is the same standard paper) gets a code of its
// own from 256 up, so that each code finds exactly one paper.
std::vector<clsPrinters::Paper> numbered(const std::vector<DriverPaper>& driverPapers) {
    std::vector<int> codes;
    std::set<int> used;
    for (const DriverPaper& paper : driverPapers) {
        int code = standardCode(paper);
        if (code == kNoPaper || code >= kFirstOwnPaper || !used.insert(code).second)
            code = kNoPaper;
        codes.push_back(code);
    }
    std::vector<clsPrinters::Paper> papers;
    int next = kFirstOwnPaper;
    for (size_t i = 0; i < driverPapers.size(); ++i) {
        int code = codes[i];
        if (code == kNoPaper) {
            while (used.count(next))
                ++next;
            code = next++;
        }
        const QSizeF size = sizeTenthsMm(driverPapers[i]);
        papers.push_back({driverPapers[i].name, code, size.width(), size.height()});
    }
    return papers;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
// The papers of the queue's PPD, in its order; empty when the queue has none.
// Not the destination's media list (cupsGetDestMediaByIndex): that one is sorted
// by size, keeps one paper of each size (US Letter or ANSI A), is named by size
// ("210 x 297 mm (Borderless)") and holds the PPD's rounded sizes all the same
// (A4 as 20990 x 29704 hundredths of a millimetre).
std::vector<DriverPaper> ppdPapers(const QString& queue) {
    std::vector<DriverPaper> papers;
    const char* copy = cupsGetPPD2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData());
    if (!copy)
        return papers;
    ppd_file_t* ppd = ppdOpenFile(copy);
    std::remove(copy);
    if (!ppd)
        return papers;
    const bool latin1 = ppd->lang_encoding && (qstrcmp(ppd->lang_encoding, "ISOLatin1") == 0 ||
                                               qstrcmp(ppd->lang_encoding, "WindowsANSI") == 0);
    ppd_option_t* pageSize = ppdFindOption(ppd, "PageSize");
    for (int i = 0; i < ppd->num_sizes; ++i) {
        const ppd_size_t& size = ppd->sizes[i];
        // The custom size is a range, not a paper.
        if (size.width <= 0 || size.length <= 0 || qstrcmp(size.name, "Custom") == 0)
            continue;
        const ppd_choice_t* choice = pageSize ? ppdFindChoice(pageSize, size.name) : nullptr;
        const char* text = choice && choice->text[0] ? choice->text : size.name;
        papers.push_back({QString::fromLatin1(size.name),
                          latin1 ? QString::fromLatin1(text) : QString::fromUtf8(text), size.width,
                          size.length});
    }
    ppdClose(ppd);
    return papers;
}
#pragma GCC diagnostic pop

} // namespace

qint16 clsPrinters::PrintersCount() const {
    const qsizetype n = platform::Printer::installedPrinters().size();
    return qint16(std::min<qsizetype>(n, std::numeric_limits<qint16>::max()));
}

QString clsPrinters::PrinterName(int idx) const {
    const QStringList names = platform::Printer::installedPrinters();
    if (idx < 1 || idx > names.size())
        return QString();
    return names.at(idx - 1);
}

bool clsPrinters::ChangePrinter(const QString& PrinterName) {
    const QString wanted = PrinterName.toUpper();
    for (const QString& name : platform::Printer::installedPrinters()) {
        if (name.toUpper() == wanted) {
            if (!platform::Printer::current().selectByName(name))
                return false;
            break;
        }
    }
    return LoadPages();
}

QString clsPrinters::PageName(int idx) const {
    if (idx < 1 || idx > mPagesCount)
        return QString();
    return mPageNames[size_t(idx)];
}

int clsPrinters::findByName(const QString& name) const {
    const QString wanted = name.toUpper();
    for (int i = 1; i <= mPagesCount; ++i)
        if (mPageNames[size_t(i)].toUpper() == wanted)
            return i;
    return 0;
}

qint16 clsPrinters::PageId(const QString& PageName) const {
    const int i = findByName(PageName);
    return i ? mPageIds[size_t(i)] : qint16(0);
}

QString clsPrinters::PageDecreption(const QString& PageName) const {
    const int i = findByName(PageName);
    return i ? mPageDescriptions[size_t(i)] : QString();
}

QString clsPrinters::PageNameById(int idx) const {
    for (int i = 1; i <= mPagesCount; ++i)
        if (mPageIds[size_t(i)] == idx)
            return mPageNames[size_t(i)];
    return QString();
}

QString clsPrinters::sizeDescription(double widthTenthsMm, double heightTenthsMm) {
    // A fixed point whatever the locale: the text is read back as a number.
    return QString::number(widthTenthsMm / kTenthsMmPerInch, 'f', 2) + QStringLiteral(" x ") +
           QString::number(heightTenthsMm / kTenthsMmPerInch, 'f', 2) + QStringLiteral(" inch");
}

bool clsPrinters::loadPaperTable(const std::vector<Paper>& papers) {
    if (papers.empty())
        return false;
    const size_t n = std::min<size_t>(papers.size(), std::numeric_limits<qint16>::max());
    mPageNames.assign(1, QString());
    mPageDescriptions.assign(1, QString());
    mPageIds.assign(1, 0);
    for (size_t i = 0; i < n; ++i) {
        const Paper& paper = papers[i];
        mPageNames.push_back(paper.name.left(kNameSlot));
        // Paper numbers are 16-bit: a code above 32767 is held as a negative number.
        mPageIds.push_back(qint16(quint16(paper.id)));
        mPageDescriptions.push_back(sizeDescription(paper.widthTenthsMm, paper.heightTenthsMm));
    }
    mPagesCount = qint16(n);
    return true;
}

std::vector<clsPrinters::Paper> clsPrinters::printerPapers(const QString& deviceName) {
    if (deviceName.isEmpty())
        return {};
    std::vector<DriverPaper> papers = ppdPapers(deviceName);
    if (papers.empty()) {
        // A queue without a PPD: the papers as the platform reads them.
        const QPrinterInfo info = QPrinterInfo::printerInfo(deviceName);
        if (info.isNull())
            return {};
        for (const QPageSize& size : info.supportedPageSizes()) {
            const QSizeF pt = size.size(QPageSize::Point);
            papers.push_back({size.key(), size.name(), pt.width(), pt.height()});
        }
    }
    return numbered(papers);
}

bool clsPrinters::LoadPages() {
    return loadPaperTable(printerPapers(platform::Printer::current().deviceName()));
}

} // namespace lumaris
