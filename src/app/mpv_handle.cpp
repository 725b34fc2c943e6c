#include "app/mpv_handle.h"

namespace cd::app {

MpvHandle::MpvHandle() : handle_(mpv_create()) {}

MpvHandle::~MpvHandle() { reset(); }

void MpvHandle::reset() {
    if (!handle_) return;
    mpv_terminate_destroy(handle_);
    handle_ = nullptr;
}

}  // namespace cd::app
