#pragma once
// A catalogue of the installed printers and of the papers that the current
// printer offers: paper names, paper numbers (the platform's paper codes) and
// their sizes described in inches.

#include <QString>
#include <QtGlobal>
#include <vector>

namespace lumaris {

class clsPrinters {
  public:
    // One paper as the driver reports it.
    struct Paper {
        QString name;
        int id = 0; // paper code; kept as a 16-bit number in the table
        double widthTenthsMm = 0;
        double heightTenthsMm = 0;
    };

    // The installed printers, counted from 1 in the platform's order.
    qint16 PrintersCount() const;
    QString PrinterName(int idx) const; // "" out of range

    // Makes the first installed printer whose name matches, ignoring case, the
    // current printer, then reloads the paper table from the current printer,
    // also when no name matched. False, with the paper table as it was, when
    // the printer could not be chosen or reports no papers.
    bool ChangePrinter(const QString& PrinterName);

    qint16 PagesCount() const { return mPagesCount; }
    QString PageName(int idx) const;                       // 1..PagesCount, else ""
    qint16 PageId(const QString& PageName) const;          // 0 when no paper has the name
    QString PageDecreption(const QString& PageName) const; // "" when none
    QString PageNameById(int idx) const;                   // "" when none

    // Width and height in inches, two decimals with a point: 2100 x 2970
    // tenths of a millimetre is "8.27 x 11.69 inch".
    static QString sizeDescription(double widthTenthsMm, double heightTenthsMm);

    // Replaces the paper table with these papers, in order. False, and the
    // table kept, when the list is empty.
    bool loadPaperTable(const std::vector<Paper>& papers);

    // The papers that an installed printer's driver offers, in its order and
    // with its names; a standard paper has its exact size, any other the
    // driver's. Standard papers carry their standard codes, every other paper
    // a code of its own from 256 up. Empty when it cannot tell.
    static std::vector<Paper> printerPapers(const QString& deviceName);

  private:
    bool LoadPages();
    int findByName(const QString& name) const;

    // Entry 0 of each array is never filled, so that position i is paper i.
    std::vector<QString> mPageNames{QString()};
    std::vector<QString> mPageDescriptions{QString()};
    std::vector<qint16> mPageIds{0};
    qint16 mPagesCount = 0;
};

} // namespace lumaris
