#pragma once
// The slip the benchmarks work on: 60 controls as a designer makes them.

#include <cstdio>
#include <string>

// Text boxes (Arabic and Latin, framed, filled), data fields with several
// lines and a few logos over an A4 page.
inline std::string benchSlipText(const std::string& ctlCount) {
    std::string s = "[Main]\r\n  Ver=2\r\n  FormNum=1\r\n  CTL_Count=" + ctlCount +
                    "\r\n[Page]\r\n  Size=9\r\n"
                    "  Width=210\r\n  Height=297\r\n  Orientation=1\r\n";
    for (int i = 1; i <= 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "CTL_%03d", i);
        const int type = i % 15 == 0 ? 3 : (i % 3 == 0 ? 2 : 1);
        s += std::string("[") + name + "]\r\n  Id=" + std::to_string(i) + "\r\n";
        s += i % 2 ? "  Text=:رقم الحساب " + std::to_string(i) + "\r\n"
                   : "  Text=Account && total " + std::to_string(i) + "||second line\r\n";
        s += "  Field=" + std::to_string(i % 6 == 0 ? 5 : 61) + "\r\n";
        s += "  Type=" + std::to_string(type) + "\r\n";
        s += "  Alignment=" + std::to_string(i % 3) + "\r\n";
        s += "  VAlignment=" + std::to_string(i % 3) + "\r\n";
        s += "  Border=" + std::string(i % 4 ? "False" : "True") + "\r\n";
        s += "  FontBold=" + std::string(i % 5 ? "False" : "True") + "\r\n";
        s += "  FontItalic=False\r\n  FontName=Arial (Arabic)\r\n  FontUnderline=False\r\n";
        s += "  FontSize=" + std::to_string(9 + i % 6) + "\r\n";
        s += "  Left=" + std::to_string(300 + (i % 4) * 2800) + "\r\n";
        s += "  Top=" + std::to_string(400 + (i / 4) * 1000) + "\r\n";
        s += "  Width=2600\r\n  Height=" + std::string(i % 3 == 0 ? "900" : "450") + "\r\n";
        s += "  BackStyle=" + std::string(i % 2 ? "True" : "False") + "\r\n";
        s += "  BackColor=15790320\r\n  ForeColor=-2147483640\r\n  IgnorePrint=False\r\n";
        s += "  FilePath=\r\n  Wordwrap=" + std::string(i % 5 ? "True" : "False") + "\r\n";
    }
    return s;
}
