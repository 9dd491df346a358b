// The on-screen page: every text box and data field of the slip file as a
// label in front of its box, every logo as an image, at the current zoom.

#include <QFile>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/fieldvalues.h"
#include "core/profile.h"
#include "core/slipdoc.h"
#include "core/values.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"
#include "preview/previewstyle.h"

namespace lumaris {

using platform::setTwipsHeight;
using platform::setTwipsLeft;
using platform::setTwipsRect;
using platform::setTwipsTop;
using platform::setTwipsWidth;
using platform::twipsHeight;
using platform::twipsTop;
using platform::twipsWidth;

namespace {

// Items stand this far right of and below where the designer shows them.
constexpr double kOffsetLeft = 175;
constexpr double kOffsetTop = 185;

// The colour number as the file gives it, then the marker that the label
// selection looks for.
QString tagFor(double foreColor) {
    const bool whole = foreColor == std::trunc(foreColor) && std::fabs(foreColor) < 1e15;
    const QString number = whole ? QString::number(static_cast<long long>(foreColor))
                                 : QString::number(foreColor, 'g', 15);
    return number + QStringLiteral(" >>>>");
}

// Twips as the controls keep them. A value beyond single precision becomes
// infinite, which every geometry setter refuses.
float single(double twips) {
    if (std::fabs(twips) > std::numeric_limits<float>::max())
        return twips < 0 ? -std::numeric_limits<float>::infinity()
                         : std::numeric_limits<float>::infinity();
    return float(twips);
}

} // namespace

void frmGeneralSlip::createPreviewTemplates() {
    auto* label = new PreviewLabel(picPrinter);
    label->hide();
    label->setTextCache(&mTextCache); // every label of the array copies it
    auto* shape = new PreviewShape(picPrinter);
    shape->hide();
    auto* image = new PreviewImage(picPrinter);
    image->hide();
    for (QWidget* item :
         {static_cast<QWidget*>(label), static_cast<QWidget*>(shape), static_cast<QWidget*>(image)})
        setTwipsRect(item, 0, 0, 0, 0);
    labMaster.assign(1, label);
    ShapeMaster.assign(1, shape);
    imgMaster.assign(1, image);
}

void frmGeneralSlip::RenderPreviewControls() {
    // The previous labels and boxes go; the templates and the images stay.
    const size_t previous = std::max(labMaster.size(), ShapeMaster.size());
    for (size_t i = 0; i < previous; ++i) {
        PreviewShape* shape = i < ShapeMaster.size() ? ShapeMaster[i].data() : nullptr;
        PreviewLabel* label = i < labMaster.size() ? labMaster[i].data() : nullptr;
        if (shape)
            shape->hide();
        if (label)
            label->hide();
        if (i > 0) {
            delete shape;
            delete label;
        }
    }
    labMaster.resize(std::min<size_t>(labMaster.size(), 1));
    ShapeMaster.resize(std::min<size_t>(ShapeMaster.size(), 1));
    if (labMaster.empty() || ShapeMaster.empty() || imgMaster.empty() || !labMaster[0] ||
        !ShapeMaster[0] || !imgMaster[0] || !picPrinter)
        return;

    // Screen twips per slip twip. Without a printer the virtual page stands in.
    const long long printerWidth = platform::Printer::current().width();
    if (printerWidth <= 0)
        return;
    const double scale = double(twipsWidth(picPrinter)) / double(printerWidth);

    const ProfilePin pin(QFile::encodeName(mSlipFile).toStdString());
    const double count = slipNumber(QStringLiteral("Main"), QStringLiteral("CTL_Count"));
    const QImage logo = picBuffer ? picBuffer->picture() : QImage();
    size_t n = 1;
    size_t m = 1;
    for (long long number :
         existingControlNumbers(QFile::encodeName(mSlipFile).toStdString(), count)) {
        const QString section = QString::fromStdString(controlSection(number));
        auto num = [&](const char* key) { return slipNumber(section, QLatin1String(key)); };
        auto flag = [&](const char* key) { return slipFlag(section, QLatin1String(key)); };

        // Everything stands 175 twips left and 185 twips up of its stored place.
        const double type = num("Type");
        const double field = num("Field");
        const bool border = flag("Border");
        const double L = num("Left") - kOffsetLeft;
        const double T = num("Top") - kOffsetTop;
        const double width = num("Width");
        const double height = num("Height");

        if (type == 1 || type == 2) {
            QString caption = QString::fromStdString(
                captionText(GetSlipKey(mSlipFile, section, QStringLiteral("Text")).toStdString()));
            bool data = false;
            if (type == 2) {
                const long long f = roundHalfEven(field);
                data = f >= 0 && f <= kMaxField;
                if (data)
                    caption = QString::fromStdString(gFieldValues[size_t(f)]);
            }
            const double alignment = num("Alignment");
            const double vAlignment = num("VAlignment");
            const bool backStyle = flag("BackStyle");
            const bool wordWrap = flag("Wordwrap");

            // Label n, then box n, each a copy of its template. A lower number
            // lies in front, as on paper; each label before its own box.
            auto* label = new PreviewLabel(picPrinter);
            label->copyFrom(*labMaster[0]);
            label->setIndex(int(n));
            auto* box = new PreviewShape(picPrinter);
            box->copyFrom(*ShapeMaster[0]);
            box->setIndex(int(n));
            label->lower();
            box->lower();
            labMaster.emplace_back(label);
            ShapeMaster.emplace_back(box);
            // The template carries the events of the whole array.
            connect(label, &PreviewLabel::mouseUp, labMaster[0].data(), &PreviewLabel::mouseUp);
            connect(label, &PreviewLabel::clicked, labMaster[0].data(), &PreviewLabel::clicked);

            const long long a = roundHalfEven(alignment);
            if (a >= 0 && a <= 2)
                label->setAlignment(int(a));
            label->setFontName(slipName(section, QStringLiteral("FontName")));
            label->setFontSize(num("FontSize") * scale);
            label->setFontBold(flag("FontBold"));
            label->setFontItalic(flag("FontItalic"));
            label->setFontUnderline(flag("FontUnderline"));

            if (backStyle)
                caption.prepend(QLatin1Char(' '));
            label->setWordWrap(false);
            label->setUseMnemonic(!data);
            label->setCaption(caption);
            label->autoSize();

            // Sized to the caption unwrapped first, then wrapped at its new width.
            setTwipsLeft(label, single(scale * L + 15));
            setTwipsTop(label, single(scale * T + 15));
            setTwipsWidth(label, single(scale * width - 60));
            label->setWordWrap(wordWrap);
            if (wordWrap)
                label->autoSizeWrapped();

            label->setBackOpaque(false);
            label->setTag(tagFor(num("ForeColor")));

            const float boxTop = twipsTop(label);
            setTwipsLeft(box, single(scale * L));
            setTwipsTop(box, boxTop);
            setTwipsWidth(box, twipsWidth(label) + 60);
            setTwipsHeight(box, single(scale * height));
            box->setOutlined(border);

            const float boxHeight = twipsHeight(box);
            const float labelHeight = twipsHeight(label);
            if (vAlignment == 1)
                setTwipsTop(label, boxTop + (boxHeight - labelHeight) / 2);
            else if (vAlignment == 2)
                setTwipsTop(label, boxTop + boxHeight - labelHeight);
            else
                setTwipsTop(label, boxTop);

            if (auto colour = slipColor(num("ForeColor")))
                label->setForeColor(*colour);
            if (auto colour = slipColor(num("BackColor")))
                box->setFillColor(*colour);
            box->setFilled(!backStyle);

            label->show();
            box->show();
            ++n;
        } else if (type == 3) {
            // Images live as long as the window and are placed again.
            if (m >= imgMaster.size() || !imgMaster[m]) {
                auto* created = new PreviewImage(picPrinter);
                created->copyFrom(*imgMaster[0]);
                created->setIndex(int(m));
                if (m >= imgMaster.size())
                    imgMaster.emplace_back(created);
                else
                    imgMaster[m] = created;
            }
            PreviewImage* image = imgMaster[m].data();
            image->lower();
            setTwipsRect(image, single(scale * L), single(scale * T), twipsWidth(image),
                         twipsHeight(image));
            setTwipsWidth(image, single(scale * width));
            setTwipsHeight(image, single(scale * height));
            image->setBordered(border);
            image->setPicture(logo);
            image->show();
            ++m;
        }
    }
}

void frmGeneralSlip::UnloadPreviewControls() {
    // Items above 200 go with the window.
    const size_t last = std::max(labMaster.size(), ShapeMaster.size());
    for (size_t i = 1; i <= 200 && i < last; ++i) {
        if (i < ShapeMaster.size())
            delete ShapeMaster[i].data();
        if (i < labMaster.size())
            delete labMaster[i].data();
    }
    if (last <= 201) {
        labMaster.resize(std::min<size_t>(labMaster.size(), 1));
        ShapeMaster.resize(std::min<size_t>(ShapeMaster.size(), 1));
    }
}

} // namespace lumaris
