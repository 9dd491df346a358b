#include "preview/frmGeneralSlip.h"

namespace lumaris {

void frmGeneralSlip::connectCopyMenu() {}

} // namespace lumaris
