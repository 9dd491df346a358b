#include "platform/printer.h"

#include <cstring>
#include <cups/cups.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace lumaris::platform {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;
constexpr double kMmPerInch = 25.4;
// The virtual page draws nothing; it only needs a size and a resolution.
constexpr int kVirtualDpi = 1200;
// Far beyond any paper, but small enough that twips stay in an int.
constexpr double kMaxUserTwips = 1.0e6;

// Twips of a paper's portrait width and height, from the units it was defined
// in so that A4 is 210 mm exactly and not the 595 x 842 points of a driver.
QSizeF portraitTwips(const QPageSize& size) {
    const QSizeF s = size.definitionSize();
    double factor = 0;
    switch (size.definitionUnits()) {
    case QPageSize::Millimeter:
        factor = kTwipsPerInch / kMmPerInch;
        break;
    case QPageSize::Point:
        factor = kTwipsPerPoint;
        break;
    case QPageSize::Inch:
        factor = kTwipsPerInch;
        break;
    case QPageSize::Pica:
        factor = 12 * kTwipsPerPoint;
        break;
    default: {
        const QSizeF points = size.size(QPageSize::Point);
        return {points.width() * kTwipsPerPoint, points.height() * kTwipsPerPoint};
    }
    }
    return {s.width() * factor, s.height() * factor};
}

int roundTwips(double twips) {
    if (!std::isfinite(twips))
        return 0;
    return int(std::nearbyint(std::clamp(twips, -kMaxUserTwips, kMaxUserTwips)));
}

int codeOf(const QPageSize& size) {
    if (!size.isValid() || size.id() == QPageSize::Custom)
        return PaperUser;
    const int id = size.windowsId();
    return id > 0 ? id : PaperUser;
}

QPageLayout::Orientation qtOrientation(int orientation) {
    return orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

struct Printer::State {
    std::unique_ptr<QPrinter> printer; // null for the virtual page
    QString name;
    // What the current printer offers, read once when it is chosen: asking
    // CUPS fetches the driver description each time.
    QList<QPageSize> supported;
    bool customSizes = false;
    QSizeF minCustomPoints, maxCustomPoints;

    int paperCode = PaperA4;
    int orientation = 1;
    QPageSize page{QPageSize::A4};
    // The user-defined paper, portrait, in the units it was last given in.
    QSizeF userSize{210, 297};
    QPageSize::Unit userUnit = QPageSize::Millimeter;
    QFont font{QStringLiteral("Arial"), 10};

    void adopt(const QPrinterInfo& info) {
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        name = info.printerName();
        supported = info.supportedPageSizes();
        customSizes = info.supportsCustomPageSizes();
        minCustomPoints = info.minimumPhysicalPageSize().size(QPageSize::Point);
        maxCustomPoints = info.maximumPhysicalPageSize().size(QPageSize::Point);
        page = printer->pageLayout().pageSize();
        paperCode = codeOf(page);
        printer->setPageOrientation(qtOrientation(orientation));
        useDriverMargins();
    }

    // The drawing origin is the corner of the area the driver can print on,
    // as on a printer's device context; Qt's own default margins would move
    // every item by 10 points.
    void useDriverMargins() {
        const QPageLayout layout = printer->pageLayout();
        printer->setPageMargins(layout.minimumMargins(), layout.units());
    }

    bool active() const { return printer && printer->printerState() == QPrinter::Active; }

    bool apply(const QPageSize& size, int code) {
        if (!size.isValid() || active())
            return false;
        if (printer && !printer->setPageSize(size))
            return false;
        if (printer)
            useDriverMargins();
        page = printer ? printer->pageLayout().pageSize() : size;
        paperCode = code;
        return true;
    }

    bool offersUserSize(const QSizeF& size, QPageSize::Unit unit) const {
        if (!(size.width() > 0) || !(size.height() > 0))
            return false;
        const QSizeF points = unit == QPageSize::Point ? size : size * (72 / kMmPerInch);
        if (points.width() * kTwipsPerPoint > kMaxUserTwips ||
            points.height() * kTwipsPerPoint > kMaxUserTwips)
            return false;
        if (!printer)
            return true;
        if (!customSizes)
            return false;
        // A printer that states no limits takes any size.
        const bool haveMin = minCustomPoints.isValid() && !minCustomPoints.isEmpty();
        const bool haveMax = maxCustomPoints.isValid() && !maxCustomPoints.isEmpty();
        if (haveMin && (points.width() < minCustomPoints.width() ||
                        points.height() < minCustomPoints.height()))
            return false;
        if (haveMax && (points.width() > maxCustomPoints.width() ||
                        points.height() > maxCustomPoints.height()))
            return false;
        return true;
    }

    bool applyUser(const QSizeF& size, QPageSize::Unit unit) {
        if (!offersUserSize(size, unit))
            return false;
        // Exact: a fuzzy match would turn 215 x 205 mm into some nearby standard paper.
        if (!apply(QPageSize(size, unit, QString(), QPageSize::ExactMatch), PaperUser))
            return false;
        userSize = size;
        userUnit = unit;
        return true;
    }

    // A user-defined paper reports the size it was given: Qt takes a size
    // within half a point of a standard paper for that paper, which would turn
    // 11907 twips (210 mm at 56.7 twips per mm) into A4's 11906.
    QSizeF pageTwips() const {
        return paperCode == PaperUser ? pageTwipsOfUser() : portraitTwips(page);
    }

    QSizeF userPoints() const { return pageTwipsOfUser() / kTwipsPerPoint; }

    QSizeF pageTwipsOfUser() const {
        const double factor =
            userUnit == QPageSize::Point ? kTwipsPerPoint : kTwipsPerInch / kMmPerInch;
        return userSize * factor;
    }
};

Printer::Printer() : d(std::make_unique<State>()) {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (!all.isEmpty())
            info = all.first();
    }
    if (!info.isNull())
        d->adopt(info);
    const QSizeF mm = d->page.size(QPageSize::Millimeter);
    if (mm.isValid() && !mm.isEmpty())
        d->userSize = mm;
}

Printer::~Printer() = default;

Printer& Printer::current() {
    // Never destroyed: a QPrinter must not outlive the application object, and
    // the printer is needed until the very end.
    static Printer* printer = new Printer;
    return *printer;
}

namespace {

// A queue that refuses jobs takes the document all the same and drops it, and
// Qt does not hear of it: ask the scheduler first.
bool acceptsJobs(const QString& name) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.toUtf8().constData(), nullptr);
    if (dest == nullptr)
        return false;
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool accepts = accepting == nullptr || std::strcmp(accepting, "false") != 0;
    cupsFreeDests(1, dest);
    return accepts;
}

} // namespace

QStringList Printer::installedPrinters() {
    return QPrinterInfo::availablePrinterNames();
}

bool Printer::selectByName(const QString& name) {
    if (name.isEmpty() || d->active())
        return false;
    // QPrinter::setPrinterName with an unknown name would quietly print on the
    // default printer: only a printer that is installed is taken.
    if (!installedPrinters().contains(name))
        return false;
    // Already current: keep its paper and spare fetching the driver description.
    if (d->printer && d->name == name)
        return true;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return false;
    d->adopt(info);
    return true;
}

QString Printer::deviceName() const {
    return d->printer ? d->name : QString();
}

bool Printer::isVirtual() const {
    return !d->printer;
}

bool Printer::setPaperSize(int code) {
    if (code == PaperUser)
        return d->applyUser(d->userSize, d->userUnit);
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (code <= 0 || id == QPageSize::Custom)
        return false;
    if (!d->printer)
        return d->apply(QPageSize(id), code);
    // The printer's own entry keeps its driver name (the CUPS media key).
    for (const QPageSize& size : d->supported)
        if (size.id() == id)
            return d->apply(size, code);
    return false;
}

int Printer::paperSize() const {
    return d->paperCode;
}

bool Printer::setOrientation(int orientation) {
    if ((orientation != 1 && orientation != 2) || d->active())
        return false;
    if (d->printer && !d->printer->setPageOrientation(qtOrientation(orientation)))
        return false;
    if (d->printer)
        d->useDriverMargins();
    d->orientation = orientation;
    return true;
}

int Printer::orientation() const {
    return d->orientation;
}

bool Printer::setWidth(int twips) {
    QSizeF points = d->userPoints();
    points.setWidth(twips / kTwipsPerPoint);
    return d->applyUser(points, QPageSize::Point);
}

bool Printer::setHeight(int twips) {
    QSizeF points = d->userPoints();
    points.setHeight(twips / kTwipsPerPoint);
    return d->applyUser(points, QPageSize::Point);
}

bool Printer::setUserPaperMm(double widthMm, double heightMm) {
    if (!std::isfinite(widthMm) || !std::isfinite(heightMm))
        return false;
    return d->applyUser(QSizeF(widthMm, heightMm), QPageSize::Millimeter);
}

int Printer::width() const {
    const QSizeF twips = d->pageTwips();
    return roundTwips(d->orientation == 2 ? twips.height() : twips.width());
}

int Printer::height() const {
    const QSizeF twips = d->pageTwips();
    return roundTwips(d->orientation == 2 ? twips.width() : twips.height());
}

double Printer::twipsPerPixelX() const {
    const int dpi = d->printer ? d->printer->logicalDpiX() : kVirtualDpi;
    return kTwipsPerInch / (dpi > 0 ? dpi : kVirtualDpi);
}

double Printer::twipsPerPixelY() const {
    const int dpi = d->printer ? d->printer->logicalDpiY() : kVirtualDpi;
    return kTwipsPerInch / (dpi > 0 ? dpi : kVirtualDpi);
}

QFont Printer::font() const {
    return d->font;
}

void Printer::setFont(const QFont& font) {
    d->font = font;
}

bool Printer::begin(QPainter& painter, const QString& title) {
    if (!d->printer || d->active() || painter.isActive())
        return false;
    // A queue deleted since it was chosen: print nothing rather than let the
    // job go astray.
    if (!installedPrinters().contains(d->name) || !acceptsJobs(d->name))
        return false;
    d->printer->setDocName(title);
    d->printer->setCopyCount(1);
    return painter.begin(d->printer.get());
}

bool Printer::end(QPainter& painter) {
    if (!painter.isActive())
        return false;
    const bool ended = painter.end();
    return ended && d->printer && d->printer->printerState() != QPrinter::Error;
}

QPrinter* Printer::device() {
    return d->printer.get();
}

} // namespace lumaris::platform
