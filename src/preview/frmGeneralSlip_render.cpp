#include "preview/frmGeneralSlip.h"
#include "preview/previewitems.h"

namespace lumaris {

void frmGeneralSlip::createPreviewTemplates() {}
void frmGeneralSlip::RenderPreviewControls() {}
void frmGeneralSlip::UnloadPreviewControls() {}

} // namespace lumaris
