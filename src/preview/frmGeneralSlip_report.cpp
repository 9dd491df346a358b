#include "preview/frmGeneralSlip.h"

namespace lumaris {

void frmGeneralSlip::connectReport() {}

} // namespace lumaris
