#pragma once
// The open slip: its control records, its page and the reader and writer of
// .slp files.

#include <array>
#include <string>
#include <vector>

namespace lumaris {

struct CtlRecord {
    int Id = 0;
    int Type = 0;     // 0 free slot, 1 text box, 2 data field, 3 logo
    std::string Text; // UTF-8, line breaks as CR LF
    int Field = 0;
    int Alignment = 0;  // 0 left, 1 right, 2 centre
    int VAlignment = 0; // 0 top, 1 middle, 2 bottom
    std::string FontName;
    int FontSize = 0;
    bool FontItalic = false;
    bool FontBold = false;
    bool FontUnderline = false;
    float Left = 0, Top = 0, Width = 0, Height = 0; // twips
    bool Border = false;
    int Order = 0; // stacking key: 1 is front-most
    int BackColor = 0;
    int ForeColor = 0;
    bool IgnorePrint = false;
    bool BackStyle = false; // true = transparent background
    std::string FilePath;
    bool Wordwrap = true;
};

struct PageSetup {
    int Orientation = 1;                                                  // 1 portrait, 2 landscape
    int Size = 9;                                                         // paper code
    int MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0; // mm
};

constexpr int kMaxControls = 100;

// The design state of the open slip. gCtl[0] never holds a control.
extern std::array<CtlRecord, kMaxControls + 1> gCtl;
extern PageSetup gPage;
extern int gFormNum;
extern int gCtlCount; // highest control position in use
extern std::string gFileName;
extern bool gSlipOpen;
extern bool gModified;

// The control numbers from 1 to count (its whole part) that have a section
// among sectionNames, ascending. "CTL_0001" is not the section of control 1, as
// the reader sees it; names match in any case.
std::vector<long long> controlNumbers(const std::vector<std::string>& sectionNames, double count);

// The same for a slip file. Its section names are asked for once, so that a
// count of two billion costs no more than the sections actually there.
std::vector<long long> existingControlNumbers(const std::string& path, double count);

// Drops the open design and starts an empty one.
void resetSlip();

// Opens a slip file as the new open slip; false when it cannot be read (the
// previous slip is then left as it was).
bool OpenSlipFile(const std::string& path);

// The .slp text of the open design: Ver 2, CR LF, code page 1256, key order
// Id, Text, Field, Type, Alignment, VAlignment, Border, FontBold, FontItalic,
// FontName, FontUnderline, FontSize, Left, Top, Width, Height, BackStyle,
// BackColor, ForeColor, IgnorePrint, FilePath, Wordwrap. Controls are numbered
// by their Order (1 = front-most) when every control has a distinct one.
std::string slipText();

// Writes slipText() to a file; false on failure (no half-written file stays).
bool WriteSlipFile(const std::string& path);

} // namespace lumaris
