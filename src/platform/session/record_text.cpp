// The text of a record's lines, written and read back.
#include "platform/session/record_text.h"

#include <cstdio>

#include "platform/api/forms.h"

namespace platform {

namespace {

std::string ButtonName(TMouseButton button) {
    switch (button) {
        case TMouseButton::mbRight:
            return "right";
        case TMouseButton::mbMiddle:
            return "middle";
        default:
            return "left";
    }
}

}  // namespace

std::string Escape(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte >= 0x7F || c == '%' || c == '=') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> Unescape(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain += text[i];
            continue;
        }
        unsigned value = 0;
        const char* digits = text.data() + i + 1;
        if (i + 3 > text.size() ||
            std::from_chars(digits, digits + 2, value, 16).ptr != digits + 2) {
            return std::nullopt;
        }
        plain += static_cast<char>(value);
        i += 2;
    }
    return plain;
}

// The record's text of a delivered event; empty for motion, which the game sees only through
// the cursor positions it reads.
std::string EventText(const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::Kind::Message: {
            const TMessage& m = event.message;
            switch (m.Msg) {
                case WM_KEYDOWN:
                    return "key " + std::to_string(m.WParam);
                case WM_CHAR:
                    return "char " + std::to_string(m.WParam);
                case WM_CLOSE:
                    return "close";
                default:
                    return "message " + std::to_string(m.Msg) + " " + std::to_string(m.WParam) +
                           " " + std::to_string(m.LParam);
            }
        }
        case InputEvent::Kind::MouseDown:
            return "down " + ButtonName(event.button);
        case InputEvent::Kind::MouseUp:
            return "up " + ButtonName(event.button);
        case InputEvent::Kind::Focus:
            return event.active ? "focus 1" : "focus 0";
        case InputEvent::Kind::SurfacesLost:
            return "lost";
        case InputEvent::Kind::MouseMove:
            break;
    }
    return {};
}

std::optional<InputEvent> ReadEvent(const std::vector<std::string>& w) {
    InputEvent event;
    const std::string& kind = w[1];
    const std::size_t args = w.size() - 2;
    const auto number = [&](std::size_t i) {
        return i < w.size() ? ParseNumber<std::uint32_t>(w[i]) : std::nullopt;
    };
    if ((kind == "key" || kind == "char") && args == 1 && number(2)) {
        event.message.Msg = kind == "key" ? WM_KEYDOWN : WM_CHAR;
        event.message.WParam = *number(2);
        return event;
    }
    if (kind == "close" && args == 0) {
        event.message.Msg = WM_CLOSE;
        return event;
    }
    const auto lParam = args == 3 ? ParseNumber<std::int64_t>(w[4]) : std::nullopt;
    if (kind == "message" && number(2) && number(3) && lParam) {
        event.message = TMessage{*number(2), *number(3), static_cast<LPARAM>(*lParam), 0};
        return event;
    }
    if ((kind == "down" || kind == "up") && args == 1) {
        event.kind = kind == "down" ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp;
        for (const auto button :
             {TMouseButton::mbLeft, TMouseButton::mbRight, TMouseButton::mbMiddle}) {
            if (ButtonName(button) == w[2]) {
                event.button = button;
                return event;
            }
        }
        return std::nullopt;
    }
    if (kind == "focus" && args == 1 && (w[2] == "0" || w[2] == "1")) {
        event.kind = InputEvent::Kind::Focus;
        event.active = w[2] == "1";
        return event;
    }
    if (kind == "lost" && args == 0) {
        event.kind = InputEvent::Kind::SurfacesLost;
        return event;
    }
    return std::nullopt;
}

std::string PlayOptionsText(const PlayOptions& options) {
    return "play " + std::to_string(options.gameSpeed) +
           (options.launchByPress ? " press" : " hold");
}

std::optional<PlayOptions> ReadPlayOptions(const std::vector<std::string>& w) {
    if (w.size() != 4 || w[1] != "play" || (w[3] != "hold" && w[3] != "press")) {
        return std::nullopt;
    }
    const std::optional<int> speed = ParseNumber<int>(w[2]);
    if (!speed || *speed < 1 || *speed > 100) {
        return std::nullopt;
    }
    return PlayOptions{*speed, w[3] == "press"};
}

std::string FieldsText(const FrameDigest& fields) {
    std::string text;
    for (const DigestField& field : fields) {
        text += " " + field.name + "=" + field.value;
    }
    return text;
}

std::optional<FrameDigest> ReadFields(const std::vector<std::string>& w) {
    FrameDigest fields;
    for (std::size_t i = 3; i < w.size(); ++i) {
        const std::size_t equals = w[i].find('=');
        if (equals == std::string::npos) {
            return std::nullopt;
        }
        fields.push_back({w[i].substr(0, equals), w[i].substr(equals + 1)});
    }
    return fields;
}

}  // namespace platform
