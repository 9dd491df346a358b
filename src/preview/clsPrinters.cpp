#include "preview/clsPrinters.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <cmath>
#include <limits>

#include "platform/printer.h"

namespace lumaris {

namespace {

// A driver's paper name slot holds 64 characters.
constexpr int kNameSlot = 64;
constexpr double kTenthsMmPerInch = 254.0;

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

QString clsPrinters::sizeDescription(int widthTenthsMm, int heightTenthsMm) {
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
    std::vector<Paper> papers;
    if (deviceName.isEmpty())
        return papers;
    const QPrinterInfo info = QPrinterInfo::printerInfo(deviceName);
    if (info.isNull())
        return papers;
    for (const QPageSize& size : info.supportedPageSizes()) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        papers.push_back({size.name(), size.windowsId(), int(std::lround(mm.width() * 10)),
                          int(std::lround(mm.height() * 10))});
    }
    return papers;
}

bool clsPrinters::LoadPages() {
    return loadPaperTable(printerPapers(platform::Printer::current().deviceName()));
}

} // namespace lumaris
