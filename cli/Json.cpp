#include "cli/Json.h"

#include <cmath>

namespace vorlane::cli {

namespace {

std::string dumped(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void append(std::string& out, const Json& value) {
    switch (value.type()) {
        case Json::value_t::object: {
            out += '{';
            bool first = true;
            for (const auto& [key, member] : value.items()) {
                out += first ? "" : ",";
                first = false;
                out += dumped(Json(key));
                out += ':';
                append(out, member);
            }
            out += '}';
            break;
        }
        case Json::value_t::array: {
            out += '[';
            bool first = true;
            for (const Json& element : value) {
                out += first ? "" : ",";
                first = false;
                append(out, element);
            }
            out += ']';
            break;
        }
        case Json::value_t::number_float: {
            const double number = value.get<double>();
            out += std::isfinite(number) ? float32Text(static_cast<float>(number)) : "null";
            break;
        }
        default:
            out += dumped(value);
    }
}

}  // namespace

Json jsonOf(const InfoValue& value) {
    return std::visit([](const auto& v) { return Json(v); }, value);
}

std::string jsonText(const Json& value) {
    std::string out;
    append(out, value);
    return out;
}

}  // namespace vorlane::cli
