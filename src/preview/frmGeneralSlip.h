#pragma once
// The preview window: shows one slip file filled with the field values, zooms
// and scrolls it and prints it. One program-wide instance; unloading discards
// the controls while the window fields keep their values.
//
// The code is split by concern: frmGeneralSlip.cpp (entry, key reading, life
// cycle), frmGeneralSlip_layout.cpp (resize and scrolling),
// frmGeneralSlip_render.cpp (on-screen items), frmGeneralSlip_zoom.cpp,
// frmGeneralSlip_print.cpp (printer renderer, print command, printer list).

#include <QCursor>
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "preview/sliptext.h"

class QComboBox;
class QEventLoop;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;
class QScrollBar;
class QWidget;

namespace lumaris {

class PictureBox;
class SunkenBox;
class PreviewLabel;
class PreviewShape;
class PreviewImage;

class frmGeneralSlip : public QDialog {
    Q_OBJECT

  public:
    // The window, loaded (Form_Load) on first use.
    static frmGeneralSlip& instance();
    static bool isLoaded();
    // Discards the window and its controls; the fields below keep their values.
    static void unload();

    // Shows FileName filled with gFieldValues. PrintNow prints one copy and
    // never shows the window; a modal call returns once the window is unloaded.
    void ShowSlip(const QString& FileName, bool PrintNow, bool Modeless);

    // Window fields: program-wide, they outlive unloading.
    static inline QString mSlipFile;
    static inline double mPageOrientation = 0;
    static inline double mPageSize = 0;
    static inline std::optional<int> mSelectedItem;
    static inline float mDragStartX = 0;
    static inline float mDragStartY = 0;
    static inline int mDragging = 0;
    static inline QString mSaveFile;
    static inline bool mReportMode = false;

    // Controls. Public so that callers can hand in the logo and tests can drive
    // the window as a user would.
    QWidget* picToolbar = nullptr;
    QComboBox* cmbZoom = nullptr;
    QLabel* labSave = nullptr;
    QLabel* labBrowse = nullptr;
    QPushButton* cmdPrint = nullptr;
    QWidget* picFormPrint = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cmbPrinters = nullptr;
    QLabel* Label3 = nullptr;
    QWidget* picContainer = nullptr;
    QLineEdit* txtNum = nullptr;
    QLabel* imgUP = nullptr;
    QLabel* imgDN = nullptr;
    QPushButton* cmdClose = nullptr;
    SunkenBox* picWorkSpace = nullptr;
    QWidget* picPrinter = nullptr;
    QWidget* picShadow = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QWidget* picCorner = nullptr;
    PictureBox* picMain = nullptr;
    PictureBox* picBuffer = nullptr;
    PictureBox* picLogo = nullptr;
    QWidget* picBrowse = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QPushButton* Command1 = nullptr;
    QCursor curHand{Qt::PointingHandCursor}; // what the toolbar's links show
    QMenu* mmainCopy = nullptr;
    QAction* mCopy = nullptr;
    QAction* mCopyAll = nullptr;

    // Control arrays of the page; item 0 of each is the hidden template.
    std::vector<QPointer<PreviewLabel>> labMaster;
    std::vector<QPointer<PreviewShape>> ShapeMaster;
    std::vector<QPointer<PreviewImage>> imgMaster;

    // Handlers, named after their control and event.
    void Form_Load();
    void Form_Resize();
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_QueryUnload();
    void cmdClose_Click();
    void Command1_Click();
    void picWorkSpace_Resize();
    void HScroll1_Change();
    void VScroll1_Change();
    void cmbZoom_Click();
    void cmdPrint_Click();
    void imgUP_Click();
    void imgDN_Click();
    void txtNum_Change();
    void cmbPrinters_Change();
    void labBrowse_Click();
    void Label1_MouseDown(float X, float Y);
    void Label1_MouseMove(float X, float Y);
    void Label1_MouseUp();
    void List1_Click();
    void List2_Click();
    void List1_Scroll();
    void List2_Scroll();
    void labMaster_Click(int Index);
    void labMaster_MouseUp(int Index, int Button, int Shift, float X, float Y);
    void picPrinter_MouseUp(int Button, int Shift, float X, float Y);
    void mCopy_Click();
    void mCopyAll_Click();
    void labSave_Click();

    // Opens a report file: its own logo, its texts, no field values needed.
    void ShowVyrRep(const QString& repFileName, bool ShowChiled = false);

    // The captions laid out for the page's labels at the zooms shown so far;
    // emptied when the window unloads.
    const SlipTextCache& textCache() const { return mTextCache; }

    // Operations of the window that other parts of it use.
    void FillPrinters();
    bool PrintSlipPage(); // false when the printer took nothing
    void RenderPreviewControls();
    void UnloadPreviewControls();
    void SaveReportFile(const QString& path);
    void AppendFileAsHexBlock(const QString& source, const QString& target, const QString& name);
    void ExtractHexBlock(const QString& source, const QString& target, const QString& name);
    QString ShowSave(QWidget* owner, const QString& filter, const QString& title,
                     const QString& initDir);
    QString ShowOpen(QWidget* owner, const QString& filter, const QString& title,
                     const QString& initDir);

    // Reads one value of a slip file, decoded from code page 1256.
    QString GetSlipKey(const QString& FileName, const QString& Section, const QString& Key) const;
    // The same value of mSlipFile taken as a number, a flag, a trimmed name, and
    // as raw bytes.
    double slipNumber(const QString& Section, const QString& Key) const;
    bool slipFlag(const QString& Section, const QString& Key) const;
    QString slipName(const QString& Section, const QString& Key) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    frmGeneralSlip();
    ~frmGeneralSlip() override;
    void createControls();
    void createPreviewTemplates(); // item 0 of each control array
    // Each concern wires its own controls' signals to its handlers.
    void connectBrowsePanel();
    void connectCopyMenu();
    void connectReport();
    void finishModal();
    // Sizes the window so that its outer size, frame and caption included,
    // fills the screen's available area; fits it again when the frame has
    // changed since the last fit.
    void fitToScreen();
    void refitToFrame();
    QSize mFittedFrame; // the frame's extra size that the last fit allowed for
    // ShowSlip runs events (zoom, showing, the modal loop) that may unload the
    // window: while it is on the stack the window is freed only when it returns.
    int mShowDepth = 0;
    bool mUnloaded = false;
    QEventLoop* mModalLoop = nullptr; // the loop a modal ShowSlip waits in
    SlipTextCache mTextCache;
};

} // namespace lumaris
