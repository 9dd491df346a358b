#pragma once
// The program-wide current printer and the list of installed printers, over
// Qt PrintSupport (CUPS). Sizes are in twips. With no printer installed a
// virtual A4 page stands in so that a preview still has a size; printing on it
// does nothing.

#include <QFont>
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
    // change) when no installed printer has the name. A newly chosen printer
    // comes with its own default paper; orientation and font carry over.
    bool selectByName(const QString& name);

    QString deviceName() const; // "" for the virtual page
    bool isVirtual() const;

    // Each setter returns false, and leaves the printer as it was, when the
    // printer refuses the value.
    bool setPaperSize(int code);
    int paperSize() const;
    bool setOrientation(int orientation); // 1 portrait, 2 landscape
    int orientation() const;
    // The user-defined paper (code 256), portrait width and height; setting
    // either switches the printer to it.
    bool setWidth(int twips);
    bool setHeight(int twips);
    // The user-defined paper in whole or fractional millimetres: it reaches
    // the printer in millimetres (CUPS media "Custom.215x205mm").
    bool setUserPaperMm(double widthMm, double heightMm);

    // The page in twips, in the page's orientation (landscape: wider than tall).
    int width() const;
    int height() const;

    // Twips per device pixel on each axis (1440 / dpi).
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    // The font the printer draws text with. It stays from one document to the
    // next, as a printer's font does.
    QFont font() const;
    void setFont(const QFont& font);

    // A print document of one page: begin() starts it and opens a painter on
    // the device; end() finishes it and sends it to the printer. begin() is
    // false when nothing can be printed (virtual page, vanished printer); end()
    // is false when the document could not be sent.
    bool begin(QPainter& painter, const QString& title = QStringLiteral("Lumaris slip"));
    bool end(QPainter& painter);

    QPrinter* device();

    ~Printer();

  private:
    Printer();
    struct State;
    std::unique_ptr<State> d;
};

} // namespace lumaris::platform
