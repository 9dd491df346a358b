#include "preview/frmGeneralSlip.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QShortcut>
#include <optional>

#include "core/cp1256.h"
#include "core/profile.h"
#include "core/values.h"
#include "platform/mouse.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"

namespace lumaris {

using platform::setTwipsRect;

namespace {

frmGeneralSlip* gInstance = nullptr;

// Fills a surface with its colour: the toolbar strip, the viewport, the page, the shadow.
QWidget* fill(QWidget* w, const QColor& colour) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    return w;
}

QWidget* makeSurface(QWidget* parent, const QColor& colour) {
    return fill(new QWidget(parent), colour);
}

QLabel* makeLabel(QWidget* parent, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

} // namespace

frmGeneralSlip& frmGeneralSlip::instance() {
    if (!gInstance) {
        gInstance = new frmGeneralSlip;
        gInstance->Form_Load();
    }
    return *gInstance;
}

bool frmGeneralSlip::isLoaded() {
    return gInstance != nullptr;
}

void frmGeneralSlip::unload() {
    frmGeneralSlip* w = gInstance;
    if (!w)
        return;
    gInstance = nullptr;
    w->Form_QueryUnload();
    // The window may linger hidden until it is freed; its layouts go now.
    w->mTextCache.clear();
    w->hide();
    // The window may be unloaded from inside one of its own handlers or its
    // modal loop: end the loop now, free the controls once control returns.
    if (w->isModal())
        w->done(QDialog::Rejected);
    w->mUnloaded = true;
    if (w->mModalLoop)
        w->mModalLoop->quit();
    if (w->mShowDepth == 0)
        w->deleteLater();
}

frmGeneralSlip::frmGeneralSlip() : QDialog(nullptr) {
    setWindowTitle(QStringLiteral("Preview"));
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(8.25);
    setFont(f);
    createControls();
}

frmGeneralSlip::~frmGeneralSlip() {
    if (gInstance == this)
        gInstance = nullptr;
}

void frmGeneralSlip::createControls() {
    // The toolbar: zoom, report and browse on the left, the print panel at the right end.
    picToolbar = makeSurface(this, palette().color(QPalette::Button));
    setTwipsRect(picToolbar, 0, 0, 15000, 570);

    cmbZoom = new QComboBox(picToolbar);
    cmbZoom->addItem(QStringLiteral("50%"), 0);
    cmbZoom->addItem(QStringLiteral("75%"), 0);
    cmbZoom->addItem(QStringLiteral("100%"), 0);
    cmbZoom->addItem(QStringLiteral("Fit Width"), -2);
    cmbZoom->addItem(QStringLiteral("Fit Height"), -1);
    cmbZoom->setCurrentIndex(-1);
    setTwipsRect(cmbZoom, 120, 120, 1500, 330);

    labSave = makeLabel(picToolbar, QStringLiteral("Save"));
    setTwipsRect(labSave, 1800, 120, 700, 330);
    labBrowse = makeLabel(picToolbar, QStringLiteral("Browse Data"));
    setTwipsRect(labBrowse, 2600, 120, 1300, 330);
    cmdPrint = new QPushButton(QStringLiteral("Print"), picToolbar);
    setTwipsRect(cmdPrint, 4100, 90, 1100, 390);

    picFormPrint = new QWidget(picToolbar);
    setTwipsRect(picFormPrint, 7400, 0, 7300, 570);
    Label2 = makeLabel(picFormPrint, QStringLiteral("Printer:"));
    setTwipsRect(Label2, 0, 120, 800, 330);
    cmbPrinters = new QComboBox(picFormPrint);
    cmbPrinters->setEditable(false);
    setTwipsRect(cmbPrinters, 850, 120, 3000, 330);
    Label3 = makeLabel(picFormPrint, QStringLiteral("Copies:"));
    setTwipsRect(Label3, 4000, 120, 800, 330);
    picContainer = new QWidget(picFormPrint);
    setTwipsRect(picContainer, 4850, 90, 900, 390);
    txtNum = new QLineEdit(QStringLiteral("1"), picContainer);
    setTwipsRect(txtNum, 0, 30, 600, 330);
    imgUP = new QLabel(QStringLiteral("\u25B2"), picContainer);
    imgUP->setAlignment(Qt::AlignCenter);
    setTwipsRect(imgUP, 630, 15, 240, 180);
    imgDN = new QLabel(QStringLiteral("\u25BC"), picContainer);
    imgDN->setAlignment(Qt::AlignCenter);
    setTwipsRect(imgDN, 630, 195, 240, 180);
    cmdClose = new QPushButton(QStringLiteral("Close"), picFormPrint);
    setTwipsRect(cmdClose, 6000, 90, 1100, 390);

    // The viewport with the page, its shadow and the scroll bars, all inside
    // its border: the bars' offsets are measured from there, and the page
    // must not show past them.
    picWorkSpace = new SunkenBox(this);
    fill(picWorkSpace, QColor(128, 128, 128));
    setTwipsRect(picWorkSpace, 200, 570, 9000, 6000);
    QWidget* inside = picWorkSpace->client();
    picShadow = makeSurface(inside, QColor(64, 64, 64));
    picPrinter = makeSurface(inside, Qt::white);
    HScroll1 = new QScrollBar(Qt::Horizontal, inside);
    VScroll1 = new QScrollBar(Qt::Vertical, inside);
    for (QScrollBar* bar : {HScroll1, VScroll1}) {
        bar->setRange(0, 0);
        // Only a released thumb moves the page.
        bar->setTracking(false);
    }
    setTwipsRect(HScroll1, 0, 5655, 8640, 300);
    setTwipsRect(VScroll1, 8640, 0, 300, 5640);
    picCorner = makeSurface(inside, palette().color(QPalette::Button));
    setTwipsRect(picCorner, 8640, 5640, 330, 345);

    // Hidden pictures: the zoom reference, the logo shown and the logo printed.
    picMain = new PictureBox(this);
    picBuffer = new PictureBox(this);
    picBuffer->hide();
    picLogo = new PictureBox(this, true);
    picLogo->hide();

    // The floating browse panel, above everything else.
    picBrowse = new QFrame(this);
    static_cast<QFrame*>(picBrowse)->setFrameShape(QFrame::Box);
    picBrowse->setAutoFillBackground(true);
    setTwipsRect(picBrowse, 0, 0, 7950, 6735);
    Label1 = new QLabel(QStringLiteral("إستعراض القيم"), picBrowse);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    {
        QPalette p = Label1->palette();
        p.setColor(QPalette::Window, p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::WindowText, p.color(QPalette::Active, QPalette::HighlightedText));
        Label1->setPalette(p);
        QFont lf(QStringLiteral("Tahoma"));
        lf.setPointSizeF(9.75);
        Label1->setFont(lf);
    }
    setTwipsRect(Label1, 0, 0, 7935, 315);
    List1 = new QListWidget(picBrowse);
    setTwipsRect(List1, 3720, 405, 4000, 5820);
    List2 = new QListWidget(picBrowse);
    setTwipsRect(List2, 165, 405, 4620, 5820);
    for (QListWidget* list : {List1, List2}) {
        list->setLayoutDirection(Qt::RightToLeft);
        list->setFont(Label1->font());
    }
    Command1 = new QPushButton(QStringLiteral("Close"), picBrowse);
    setTwipsRect(Command1, 165, 6255, 1185, 375);

    mmainCopy = new QMenu(this);
    mCopy = mmainCopy->addAction(QStringLiteral("Copy"));
    mCopyAll = mmainCopy->addAction(QStringLiteral("Copy All"));

    createPreviewTemplates();

    connect(cmdClose, &QPushButton::clicked, this, &frmGeneralSlip::cmdClose_Click);
    connect(Command1, &QPushButton::clicked, this, &frmGeneralSlip::Command1_Click);
    // Every choice of the user zooms, also of the item already shown (a fit
    // after the window was resized); code that sets the item zooms itself.
    connect(cmbZoom, &QComboBox::activated, this, &frmGeneralSlip::cmbZoom_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmGeneralSlip::HScroll1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmGeneralSlip::VScroll1_Change);
    connect(cmdPrint, &QPushButton::clicked, this, &frmGeneralSlip::cmdPrint_Click);
    connect(txtNum, &QLineEdit::textChanged, this, &frmGeneralSlip::txtNum_Change);
    connect(cmbPrinters, &QComboBox::currentIndexChanged, this,
            &frmGeneralSlip::cmbPrinters_Change);
    platform::onClick(imgUP, [this] { imgUP_Click(); });
    platform::onClick(imgDN, [this] { imgDN_Click(); });
    connectBrowsePanel();
    connectCopyMenu();
    connectReport();

    // Ctrl+P prints wherever the focus is inside the window.
    auto* printKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    printKey->setContext(Qt::WindowShortcut);
    connect(printKey, &QShortcut::activated, this, [this] { Form_KeyDown(Qt::Key_P, 2); });
}

void frmGeneralSlip::Form_Load() {
    picMain->hide();
    picPrinter->hide();
    picShadow->hide();
    picWorkSpace->hide();
    fitToScreen();
    labSave->setCursor(curHand);
    labBrowse->setCursor(curHand);
    picBrowse->hide();
    FillPrinters();
    Form_Resize();
}

QString frmGeneralSlip::GetSlipKey(const QString& FileName, const QString& Section,
                                   const QString& Key) const {
    std::string value = readProfileString(QFile::encodeName(FileName).toStdString(),
                                          Section.toStdString(), Key.toStdString());
    if (value.empty())
        return QString();
    return QString::fromStdString(cp1256ToUtf8(value));
}

namespace {
std::string rawKey(const QString& file, const QString& section, const QString& key) {
    return readProfileString(QFile::encodeName(file).toStdString(), section.toStdString(),
                             key.toStdString());
}
} // namespace

double frmGeneralSlip::slipNumber(const QString& Section, const QString& Key) const {
    return leadingNumber(rawKey(mSlipFile, Section, Key));
}

bool frmGeneralSlip::slipFlag(const QString& Section, const QString& Key) const {
    return isTrueFlag(rawKey(mSlipFile, Section, Key));
}

QString frmGeneralSlip::slipName(const QString& Section, const QString& Key) const {
    return QString::fromStdString(cp1256ToUtf8(trimmed(rawKey(mSlipFile, Section, Key))));
}

void frmGeneralSlip::ShowSlip(const QString& FileName, bool PrintNow, bool Modeless) {
    ++mShowDepth;
    const auto done = qScopeGuard([this] {
        if (--mShowDepth == 0 && mUnloaded)
            deleteLater();
    });
    if (!mReportMode)
        picBuffer->setPicture(picLogo->picture());

    mSlipFile = FileName;
    // The page is read from one state of the file. The pin ends before the
    // zoom, whose events may write the file again and show it anew.
    std::optional<ProfilePin> pin(std::in_place, QFile::encodeName(FileName).toStdString());
    mSaveFile =
        slipNumber(QStringLiteral("Main"), QStringLiteral("Ver")) > 0 ? FileName : QString();
    mPageOrientation = slipNumber(QStringLiteral("Page"), QStringLiteral("Orientation"));
    mPageSize = slipNumber(QStringLiteral("Page"), QStringLiteral("Size"));

    // Millimetres to twips as single precision first: 215 mm is 12190.5 twips,
    // which goes to the even 12190.
    auto mmToTwips = [](double mm) { return roundHalfEven(static_cast<float>(mm * 56.7)); };
    platform::Printer& printer = platform::Printer::current();
    printer.setPaperSize(platform::PaperUser);
    printer.setOrientation(int(roundHalfEven(mPageOrientation)));
    long long width = mmToTwips(slipNumber(QStringLiteral("Page"), QStringLiteral("Width")));
    long long height = mmToTwips(slipNumber(QStringLiteral("Page"), QStringLiteral("Height")));
    if (width > 0 && width <= INT_MAX)
        printer.setWidth(int(width));
    if (height > 0 && height <= INT_MAX)
        printer.setHeight(int(height));
    pin.reset();

    if (PrintNow) {
        PrintSlipPage();
        unload();
        return;
    }

    setTwipsRect(picMain, 0, 0, float(printer.width() * 6.3), float(printer.height() * 6.3));
    cmbZoom->setCurrentIndex(1);
    cmbZoom_Click();

    // Events run during the zoom; one of them may have closed the window.
    if (gInstance != this)
        return;
    if (Modeless) {
        setModal(false);
        show();
        return;
    }
    // Not exec(): a window unloaded while it is being shown, before exec's
    // loop runs, would leave that loop waiting for ever.
    setModal(true);
    show();
    if (!mUnloaded) {
        QEventLoop loop;
        mModalLoop = &loop;
        loop.exec(QEventLoop::DialogExec);
        mModalLoop = nullptr;
    }
}

void frmGeneralSlip::cmdClose_Click() {
    Command1_Click();
    unload();
}

void frmGeneralSlip::Command1_Click() {
    picBrowse->hide();
    QCoreApplication::processEvents();
}

void frmGeneralSlip::Form_KeyDown(int KeyCode, int Shift) {
    if (KeyCode == Qt::Key_P && Shift == 2)
        cmdPrint_Click();
}

void frmGeneralSlip::Form_QueryUnload() {
    UnloadPreviewControls();
}

void frmGeneralSlip::keyPressEvent(QKeyEvent* event) {
    int shift = 0;
    if (event->modifiers() & Qt::ShiftModifier)
        shift |= 1;
    if (event->modifiers() & Qt::ControlModifier)
        shift |= 2;
    if (event->modifiers() & Qt::AltModifier)
        shift |= 4;
    if (event->key() == Qt::Key_Escape) {
        cmdClose_Click();
        return;
    }
    Form_KeyDown(event->key(), shift);
}

void frmGeneralSlip::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmGeneralSlip::closeEvent(QCloseEvent* event) {
    // The close box unloads the window like the Close button; closing is never refused.
    event->accept();
    if (gInstance == this)
        unload();
}

} // namespace lumaris
