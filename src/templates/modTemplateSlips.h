#pragma once
// The built-in template slips, one per form type, written on request to the
// template slip file "tmp.slp" in the private temporary folder.

#include <filesystem>
#include <string>
#include <vector>

namespace lumaris::modTemplateSlips {

// Writes the template of form number idx (1 to 12) to tmpSlpPath(). Any other
// number writes nothing and leaves an existing file alone. A failed write
// leaves the previous file (or none), never a partial one, and is false with
// *error (when given) naming the file and the reason.
bool SelectTempFile(int idx, std::string* error = nullptr);

// Writes template idx and opens it as the slip, holding a lock on tmp.lock in
// the same folder meanwhile so that concurrent runs of the user each open
// their own template. False with *error set when either step fails; the open
// slip is then left as it was.
bool OpenTemplate(int idx, std::string* error = nullptr);

// <private temporary folder>/tmp.slp; empty when there is no such folder.
std::filesystem::path tmpSlpPath();

// The lines of template formNum (UTF-8, without line ends); empty for a number
// that has no template.
std::vector<std::string> templateLines(int formNum);

} // namespace lumaris::modTemplateSlips
