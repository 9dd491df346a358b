// The cheque templates: landscape pages of data fields placed where the bank's
// pre-printed cheque has its blanks, each with a magnetic-ink number line.

#include "templatedata.h"

namespace lumaris::modTemplateSlips {

namespace {

constexpr std::string_view kFont = "Arial (Arabic)";

// Certified cheque.
// clang-format off
constexpr CtlRow kCertifiedCheque[] = {
    // id type field text left top width height al val size flags other
    { 1, 2,  11, "دينار", 12472,  5102,  2993,  442, 1, 1, 12, "B W"},
    { 2, 2,  62, "اسم المستفيد",  6378,  5102,  5545,  442, 1, 1, 12, "B"},
    { 3, 2,   4, "لاجمالي بالحروف",  6661,  5528,  8521,  442, 1, 1, 12, "B W"},
    { 4, 2,  62, "اسم المستفيد",  3402,  4961,  2426,  300, 1, 1,  8, "W"},
    { 5, 2,  70, "التاريخ", 13039,  4110,  2001,  300, 1, 1, 10, "B T W"},
    { 6, 2,  61, "اسم الزبون",  6520,  4819,  2993,  300, 1, 1, 10, "B T"},
    { 7, 2,  60, "رقم الحساب",  6520,  4394,  2993,  442, 1, 1, 10, "B T W"},
    { 8, 2,  70, "التاريخ",  3543,  3969,  2143,  300, 2, 1, 10, "W"},
    { 9, 2,   8, "رقم الصك",  3827,  4535,  2001,  300, 1, 1, 12, "W"},
    {10, 2,   8, "رقم الصك", 12189,  4535,  2993,  300, 1, 1, 12, "T W"},
    {11, 2,   9, "رقم الصك MICR",  5102,  7654, 10505,  584, 2, 1, 10, "W", {.font = "MICR QUILLMARO"}},
    {12, 2,  10, "درهم", 15449,  5102,   867,  442, 1, 1, 12, "W"},
    {13, 2,  83, "صفة الفرع", 11480,  3685,  1576,  442, 0, 1, 11, ""},
    {14, 2,  84, "اسم الفرع",  8646,  3685,  2710,  442, 1, 1, 11, ""},
};
// clang-format on

// Ordinary cheque; the companies' cheque has the same layout. Ids 2 to 12 and
// 19 are free.
// clang-format off
constexpr CtlRow kCheque[] = {
    // id type field text left top width height al val size flags other
    { 1, 2,   9, "رقم الصك MICR",  5102,  7370, 10505,  584, 2, 1, 10, "W", {.font = "MICR QUILLMARO"}},
    {13, 2,   8, "رقم الصك", 12898,  4535,  2285,  442, 1, 1, 12, ""},
    {14, 2,  61, "اسم الزبون",  8079,  6378,  6678,  442, 0, 1, 11, "T"},
    {15, 2,  60, "رقم الحساب",  8079,  6661,  2993,  442, 0, 1, 10, "T", {.font = "ARIAL (ARABIC)"}},
    {16, 2,  84, "اسم الفرع",  6094,  4819,  2285,  442, 1, 1, 14, ""},
    {17, 2,  83, "صفة الفرع",  8362,  4819,  2426,  442, 0, 1, 14, ""},
    {18, 2,   8, "رقم الصك",  3685,  4677,  2143,  442, 1, 1, 11, ""},
};
// clang-format on

} // namespace

extern constexpr TemplateDef kTemplet02 = {
    .formNum = 2,
    .ver = 2,
    .orientation = 2,
    .ctlCount = 14,
    .fontName = kFont,
    .backColor = kWhite,
    .foreColor = kWindowText,
    .rows = kCertifiedCheque,
};
extern constexpr TemplateDef kTemplet05 = {
    .formNum = 5,
    .ver = 2,
    .orientation = 2,
    .ctlCount = 19,
    .fontName = kFont,
    .backColor = kWhite,
    .foreColor = kWindowText,
    .rows = kCheque,
};
extern constexpr TemplateDef kTemplet12 = {
    .formNum = 12,
    .ver = 2,
    .orientation = 2,
    .ctlCount = 19,
    .fontName = kFont,
    .backColor = kWhite,
    .foreColor = kWindowText,
    .rows = kCheque,
};

static_assert(wellFormed(kTemplet02) && wellFormed(kTemplet05) && wellFormed(kTemplet12));

} // namespace lumaris::modTemplateSlips
