#include "ui/controls/my_mem_dc.h"

namespace corvane {

CMyMemDC::CMyMemDC(ICanvas& target)
    : rect_(target.ClipBox()), bitmap_(target.CreateOffscreen(rect_)) {}

CMyMemDC::~CMyMemDC() {
    bitmap_->CopyToTarget();
}

} // namespace corvane
