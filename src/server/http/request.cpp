#include "http/request.h"

namespace cd::server::http {

const std::string* Request::header(std::string_view lowerName) const {
    for (const auto& h : headers)
        if (h.name == lowerName) return &h.value;
    return nullptr;
}

}  // namespace cd::server::http
