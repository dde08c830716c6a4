#include "PaintScope.h"

namespace zorvane {
namespace {
// GUI thread only; paints can nest (a child painting inside a parent's paint).
int paintDepth = 0;
} // namespace

PaintScope::PaintScope()
{
    ++paintDepth;
}

PaintScope::~PaintScope()
{
    --paintDepth;
}

bool PaintScope::isPainting()
{
    return paintDepth > 0;
}

} // namespace zorvane
