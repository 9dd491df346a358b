// The deposit slip, the payment order, the entry voucher and the (empty)
// clearing deposit.

#include "templatedata.h"

namespace lumaris::modTemplateSlips {

namespace {

// Deposit slip. Ids 8, 14, 16, 21, 28 and 32 are free. The empty bordered texts
// are boxes; what lies in a box has the lower id so it is drawn in front.
// clang-format off
constexpr CtlRow kDepositSlip[] = {
    // id type field text left top width height al val size flags other
    { 1, 2,   3, "الاجمالي",  1247,  6860,  2058,  471, 1, 1, 12, "T W"},
    { 2, 2,   7, "جدول القيم",  1134,  4195,  2171, 2511, 1, 0, 12, "T W"},
    { 3, 1,   0, "",   907,  6860,  2568,  471, 2, 1,  8, "Br W", {.font = "MS Sans Serif"}},
    { 4, 2,   4, "لاجمالي بالحروف",  3515,  6917,  7500,  357, 1, 1, 12, "T W"},
    { 5, 1,   0, "",  3005,  6860,  8124,  471, 2, 1,  8, "Br W", {.font = "MS Sans Serif"}},
    { 6, 1,   0, "",   907,  4139,  2568, 2738, 2, 1,  8, "Br W", {.font = "MS Sans Serif"}},
    { 7, 2,   0, "رقم القسيمة",   850,  1134,  2341,  471, 1, 1, 12, "W"},
    { 9, 2,  84, "اسم الفرع",  5783,  1247,  3022,  414, 1, 1, 12, "W"},
    {10, 2,  60, "رقم الحساب",  7200,  2268,  2568,  471, 1, 1, 12, "W"},
    {11, 2,  61, "اسم الزبون",   794,  2778,  8974,  471, 1, 1, 12, "W"},
    {12, 2,  70, "التاريخ",   850,  1531,  2341,  471, 1, 1, 12, "W"},
    {13, 2,  73, "القسم",   850,  1984,  2341,  471, 1, 1, 12, "W", {.font = "Arial (Arabic)"}},
    {15, 1,   0, "البيـــان",  5159,  3345,  5970,  811, 2, 1, 12, "B Br W", {.back = 14474460}},
    {17, 1,   0, "العدد",  3458,  3345,  1718,  811, 2, 1, 12, "B Br W", {.back = 14474460}},
    {18, 1,   0, "الاجمالي",   907,  3345,  2568,  811, 2, 1, 12, "B Br W", {.back = 14474460}},
    {19, 2,   6, "جدول العدد",  3572,  4195,  1604, 2625, 2, 0, 12, "T W"},
    {20, 1,   0, ": اشاري",  3118,  1134,  1037,  471, 1, 1, 12, "W", {.font = "Arial (Arabic)"}},
    {22, 1,   0, ": رقم الحساب",  9808,  2268,  1321,  471, 1, 1, 12, "W", {.font = "Arial (Arabic)"}},
    {23, 1,   0, ": اسم الزبون",  9808,  2721,  1321,  471, 1, 1, 12, "W", {.font = "Arial (Arabic)"}},
    {24, 1,   0, ": التاريخ",  3118,  1531,  1037,  471, 1, 1, 12, "T W", {.font = "Arial (Arabic)", .back = 1}},
    {25, 1,   0, ": القسم",  3118,  1984,  1037,  471, 1, 1, 12, "W", {.font = "Arial (Arabic)"}},
    {26, 3,   0, "شعار",  8844,   567,  2171, 1208, 1, 1, 14, "W", {.font = "Arial (Arabic)"}},
    {27, 2,  72, "اسم المستخدم",   907,  7370,  4212,  471, 0, 1, 12, "W", {.font = "Arial (Arabic)"}},
    {29, 2,   2, "البيان",  5272,  5896,  5743,  981, 1, 1, 12, "T W", {.font = "Arial (Arabic)"}},
    {30, 2,   5, "جدول العملات",  5216,  4195,  5743, 2228, 0, 0, 12, "T W", {.font = "Arial (Arabic)"}},
    {31, 1,   0, "",  5159,  4139,  5970, 2908, 1, 1, 14, "Br", {.font = "Arial (Arabic)"}},
    {33, 2,  74, "توقيت الطباعة",  5046,  7427,  6197,  300, 1, 1,  7, ""},
    {34, 2,  81, "اسم المصرف",  5613,   794,  3192,  471, 1, 1, 14, "", {.font = "Arial (Arabic)"}},
};
// clang-format on

// Payment order: a format 1 slip, so no control carries a wrap setting.
// clang-format off
constexpr CtlRow kPaymentOrder[] = {
    // id type field text left top width height al val size flags other
    { 1, 2,  70, "التاريخ",  9213,   709,  2001,  584, 1, 1, 12, ""},
    { 2, 2,  84, "اسم الفرع",   709,   709,  3844,  584, 1, 1, 12, ""},
    { 3, 2,   4, "لاجمالي بالحروف",  2693,  1984,  5261,  442, 1, 1, 12, ""},
    { 4, 2,   3, "الاجمالي",  8504,  2268,  2426,  726, 1, 1, 12, ""},
    { 5, 2,  62, "اسم المستفيد",  1276,  3118,  5119,  584, 1, 1, 12, ""},
    { 6, 2,  70, "التاريخ",  8929,  5386,  1718,  442, 1, 1, 12, ""},
    { 7, 2,   2, "البيان",  3402,  5386,  4694,  726, 1, 1, 12, ""},
    { 8, 2,   3, "الاجمالي",   992,  5386,  1860,  584, 1, 1, 12, ""},
    { 9, 2,  84, "اسم الفرع",   850, 10346,  2852,  584, 1, 1, 12, ""},
};
// clang-format on

// Entry voucher. Ids 4, 10, 12 to 15, 20, 24 and 25 are free.
// clang-format off
constexpr CtlRow kEntryVoucher[] = {
    // id type field text left top width height al val size flags other
    { 1, 2,   7, "جدول القيم",   907,  3798,  2341, 2568, 1, 0, 12, "W"},
    { 2, 2,   2, "البيان",  3402,  3798,  7444, 2568, 1, 0, 12, "W"},
    { 3, 2,   1, "اسم القسيمة",   850,  1304,  3362,  471, 1, 1, 12, "W", {.font = "ARIAL (ARABIC)"}},
    { 5, 2,  84, "اسم الفرع",  6009,  1077,  2908,  414, 1, 1, 12, "W", {.font = "ARIAL (ARABIC)"}},
    { 6, 2,  60, "رقم الحساب",  6917,  2041,  2568,  471, 1, 1, 12, "W", {.font = "ARIAL (ARABIC)"}},
    { 7, 2,  61, "اسم الزبون",   794,  2494,  8691,  414, 1, 1, 12, "W", {.font = "ARIAL (ARABIC)"}},
    { 8, 2,  70, "التاريخ",   850,   850,  2341,  471, 1, 1, 12, "W", {.font = "ARIAL (ARABIC)"}},
    { 9, 2,  73, "القسم",   850,  1871,  3362,  471, 1, 1, 12, "W"},
    {11, 1,   0, "البيـــان",  3345,  2948,  7671,  811, 2, 1, 12, "B Br W", {.font = "ARIAL (ARABIC)", .back = 14474460}},
    {16, 1,   0, "الاجمالي",   794,  2948,  2568,  811, 2, 1, 12, "B Br W", {.font = "ARIAL (ARABIC)", .back = 14474460}},
    {17, 2,   3, "الاجمالي",   907,  6690,  2341,  414, 1, 1, 12, "T W", {.font = "ARIAL (ARABIC)"}},
    {18, 2,   4, "لاجمالي بالحروف",  3402,  6690,  7557,  414, 1, 1, 12, "T W", {.font = "ARIAL (ARABIC)"}},
    {19, 1,   0, "",   794,  3742,  2568, 2908, 2, 1,  8, "Br W", {.font = "MS Sans Serif"}},
    {21, 1,   0, "",  3345,  3742,  7671, 2908, 2, 1,  8, "Br W", {.font = "MS Sans Serif"}},
    {22, 1,   0, "",   794,  6633,  2568,  471, 2, 1,  8, "Br W", {.font = "MS Sans Serif"}},
    {23, 1,   0, "",  3345,  6633,  7671,  471, 2, 1,  8, "Br W", {.font = "MS Sans Serif"}},
    {26, 1,   0, ": رقم الحساب",  9524,  2041,  1321,  471, 1, 1, 12, "W"},
    {27, 3,   0, "شعار",  8957,   567,  1831, 1208, 1, 1, 12, "W"},
    {28, 1,   0, ":التاريخ",  3118,   850,  1037,  471, 1, 1, 12, "W"},
    {29, 1,   0, ":اسم الحساب",  9524,  2494,  1321,  414, 1, 1, 12, "W"},
    {30, 2,  17, "", 10205,  8674,    17,   17, 1, 1, 14, "W"},
    {31, 2,  72, "اسم المستخدم",   794,  7143,  3872,  527, 1, 1, 10, "W"},
    {32, 2,  81, "اسم المصرف",  5159,   624,  3815,  471, 1, 1, 14, ""},
    {33, 2,  74, "توقيت الطباعة",  4819,  7257,  6423,  300, 1, 1,  7, ""},
};
// clang-format on

} // namespace

extern constexpr TemplateDef kTemplet01 = {
    .formNum = 1,
    .ver = 2,
    .orientation = 1,
    .ctlCount = 34,
    .fontName = "ARIAL (ARABIC)",
    .backColor = kWhite,
    .foreColor = kWindowText,
    .rows = kDepositSlip,
};
extern constexpr TemplateDef kTemplet03 = {
    .formNum = 3,
    .ver = 1,
    .orientation = 1,
    .ctlCount = 9,
    .fontName = "Arial (Arabic)",
    .backColor = kWhite,
    .foreColor = kWindowText,
    .rows = kPaymentOrder,
};
extern constexpr TemplateDef kTemplet04 = {
    .formNum = 4,
    .ver = 2,
    .orientation = 1,
    .ctlCount = 33,
    .fontName = "Arial (Arabic)",
    .backColor = kWhite,
    .foreColor = kWindowText,
    .rows = kEntryVoucher,
};
// The clearing deposit starts as an empty page.
extern constexpr TemplateDef kTemplet09 = {
    .formNum = 9,
    .ver = 2,
    .orientation = 1,
    .ctlCount = 0,
    .fontName = "",
    .backColor = kWhite,
    .foreColor = kWindowText,
    .rows = {},
};

static_assert(wellFormed(kTemplet01) && wellFormed(kTemplet03) && wellFormed(kTemplet04) &&
              wellFormed(kTemplet09));

} // namespace lumaris::modTemplateSlips
