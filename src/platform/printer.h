#pragma once
// The program-wide current printer and the list of installed printers, over
// Qt PrintSupport (CUPS). Sizes are in twips. With no printer installed a
// virtual A4 page stands in so that a preview still has a size; printing on it
// does nothing.

#include <QMarginsF>
#include <QString>
#include <QStringList>
#include <memory>

class QPainter;
class QPrinter;

namespace lumaris::platform {

// Paper codes as the printer knows them.
enum PaperCode { PaperLetter = 1, PaperLegal = 5, PaperA4 = 9, PaperA5 = 11, PaperUser = 256 };

class Printer {
  public:
    // The one current printer of the program.
    static Printer& current();

    // Device names of the installed printers, in the platform's order.
    static QStringList installedPrinters();

    // Makes the installed printer of exactly this name current; false (and no
    // change) when no installed printer has the name.
    bool selectByName(const QString& name);

    QString deviceName() const; // "" for the virtual page
    bool isVirtual() const;

    // Each setter returns false, and leaves the printer as it was, when the
    // printer refuses the value.
    bool setPaperSize(int code);
    int paperSize() const;
    bool setOrientation(int orientation); // 1 portrait, 2 landscape
    int orientation() const;
    bool setWidth(int twips); // user-defined paper, portrait width
    bool setHeight(int twips);

    // The page in twips, in the page's orientation (landscape: wider than tall).
    int width() const;
    int height() const;

    // Twips per device pixel on each axis (1440 / dpi).
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    // A print document of one page: begin() starts it and opens a painter on
    // the device; end() finishes it and sends it to the printer. begin() is
    // false when nothing can be printed (virtual page, vanished printer).
    bool begin(QPainter& painter, const QString& title = QStringLiteral("Lumaris slip"));
    void end(QPainter& painter);

    QPrinter* device();

    ~Printer();

  private:
    Printer();
    struct State;
    std::unique_ptr<State> d;
};

} // namespace lumaris::platform
