// device_context.cpp: live device contexts, so an HDC can be checked before it is used.
#include "device_context.h"

#include "gdi_globals.h"

namespace kvhost {

namespace {
std::unordered_set<const void *> &Live() { return HostGdi().liveDcs; }
}  // namespace

DeviceContext::DeviceContext(int width, int height) : width_(width), height_(height) { Live().insert(this); }

DeviceContext::~DeviceContext() { Live().erase(this); }

DeviceContext *DeviceContext::FromHdc(HDC hdc) {
    return Live().count(hdc) ? reinterpret_cast<DeviceContext *>(hdc) : nullptr;
}

const Pen &DeviceContext::CurrentPen() const {
    const Pen *p = ResolvePen(selectedPen);
    return p ? *p : *ResolvePen(StockBlackPen());
}

}  // namespace kvhost
