#include "preview/frmGeneralSlip.h"

namespace lumaris {

void frmGeneralSlip::connectBrowsePanel() {}

} // namespace lumaris
