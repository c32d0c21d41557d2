#include "cli/Json.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vorlane::cli {

namespace {

std::string dumped(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A key of letters, digits, '_' and '-' is written as nlohmann would write it, without starting
// its serializer for every key of every line.
void appendKey(std::string& out, const std::string& key) {
    const bool plain = std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
    if (!plain) {
        out += dumped(Json(key));
        return;
    }
    out += '"';
    out += key;
    out += '"';
}

template <typename Integer>
void appendInteger(std::string& out, Integer value) {
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void append(std::string& out, const Json& value) {
    switch (value.type()) {
        case Json::value_t::object: {
            out += '{';
            bool first = true;
            for (const auto& [key, member] : value.get_ref<const Json::object_t&>()) {
                out += first ? "" : ",";
                first = false;
                appendKey(out, key);
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
        case Json::value_t::number_integer:
            appendInteger(out, value.get<Json::number_integer_t>());
            break;
        case Json::value_t::number_unsigned:
            appendInteger(out, value.get<Json::number_unsigned_t>());
            break;
        case Json::value_t::boolean:
            out += value.get<bool>() ? "true" : "false";
            break;
        case Json::value_t::null:
            out += "null";
            break;
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
