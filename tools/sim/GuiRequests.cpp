#include "tools/sim/GuiRequests.h"

#include <optional>

#include "core/GuiMessage.h"

namespace korvana::sim {
namespace {

// Real queries are two levels deep; anything far deeper is an attack on the
// decoder's stack, not a search.
constexpr int kMaxQueryDepth = 16;
constexpr int kMaxQueryNodes = 512;

struct QueryReader {
    GuiMessage& message;
    int nodes = 0;

    std::optional<QueryNode> Read(int depth);
    bool ReadList(QueryNode& node, int depth);
};

bool QueryReader::ReadList(QueryNode& node, int depth) {
    const std::size_t count = message.Get16();
    if (count > message.Remaining()) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<QueryNode> child = Read(depth + 1);
        if (!child) {
            return false;
        }
        node.children.push_back(std::move(*child));
    }
    return true;
}

std::optional<QueryNode> QueryReader::Read(int depth) {
    if (depth > kMaxQueryDepth || ++nodes > kMaxQueryNodes || message.Remaining() == 0) {
        return std::nullopt;
    }
    QueryNode node;
    node.kind = message.Get8();
    if (node.kind == 0 || node.kind == 1 || node.kind == 13) {
        return ReadList(node, depth) ? std::optional(std::move(node)) : std::nullopt;
    }
    if (node.kind == 2) {
        for (int i = 0; i < 2; ++i) {
            std::optional<QueryNode> child = Read(depth + 1);
            if (!child) {
                return std::nullopt;
            }
            node.children.push_back(std::move(*child));
        }
        return node;
    }
    std::optional<std::string> label = message.GetString();
    if (!label) {
        return std::nullopt;
    }
    node.label = std::move(*label);
    if (node.kind == 3) {
        std::optional<QueryNode> child = Read(depth + 1);
        if (!child) {
            return std::nullopt;
        }
        node.children.push_back(std::move(*child));
        return node;
    }
    if (node.kind > 12) {
        return std::nullopt;
    }
    std::optional<std::string> value = message.GetString();
    if (!value) {
        return std::nullopt;
    }
    node.value = std::move(*value);
    return node;
}

std::optional<std::vector<std::string>> ReadStringList(GuiMessage& message) {
    const std::size_t count = message.Get16();
    if (count * 2 > message.Remaining()) {
        return std::nullopt;
    }
    std::vector<std::string> list;
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<std::string> text = message.GetString();
        if (!text) {
            return std::nullopt;
        }
        list.push_back(std::move(*text));
    }
    return list;
}

std::optional<GuiRequest> DecodePassword(GuiMessage& message) {
    std::optional<std::string> password = message.GetString();
    std::optional<std::string> login = message.GetString();
    if (!password || !login) {
        return std::nullopt;
    }
    return Password{std::move(*password), std::move(*login)};
}

std::optional<GuiRequest> DecodeSetOption(GuiMessage& message) {
    std::optional<std::string> name = message.GetString();
    std::optional<std::string> value = message.GetString();
    if (!name || !value) {
        return std::nullopt;
    }
    return SetOption{std::move(*name), std::move(*value)};
}

std::optional<GuiRequest> DecodeOptionList(GuiMessage& message) {
    const std::size_t count = message.Get16();
    if (count * 4 > message.Remaining()) {
        return std::nullopt;
    }
    OptionList list;
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<GuiRequest> pair = DecodeSetOption(message);
        if (!pair) {
            return std::nullopt;
        }
        SetOption& option = std::get<SetOption>(*pair);
        list.pairs.emplace_back(std::move(option.name), std::move(option.value));
    }
    return list;
}

std::optional<GuiRequest> DecodeSearch(GuiMessage& message) {
    SearchQuery search;
    search.id = static_cast<std::int32_t>(message.Get32());
    QueryReader reader{message};
    std::optional<QueryNode> query = reader.Read(0);
    if (!query) {
        return std::nullopt;
    }
    search.query = std::move(*query);
    search.maxHits = static_cast<std::int32_t>(message.Get32());
    return search;
}

std::optional<GuiRequest> DecodeDownload(GuiMessage& message) {
    std::optional<std::vector<std::string>> names = ReadStringList(message);
    if (!names) {
        return std::nullopt;
    }
    return DownloadQuery{std::move(*names), static_cast<std::int32_t>(message.Get32())};
}

std::optional<GuiRequest> DecodeConsole(GuiMessage& message) {
    std::optional<std::string> line = message.GetString();
    if (!line) {
        return std::nullopt;
    }
    return ConsoleCommand{std::move(*line)};
}

std::optional<GuiRequest> DecodeNumbered(int opcode, GuiMessage& message) {
    const auto number = static_cast<std::int32_t>(message.Get32());
    switch (opcode) {
        case from_gui::kCloseQuery:
            return CloseQuery{number};
        case from_gui::kCancelDownload:
            return CancelDownload{number};
        default:
            return SwitchDownload{number, message.Get8() != 0};
    }
}

std::optional<GuiRequest> DecodeBody(int opcode, GuiMessage& message) {
    switch (opcode) {
        case from_gui::kProtocolVersion:
            return ProtocolVersion{message.Get32()};
        case from_gui::kExtensions:
            return Extensions{};
        case from_gui::kPassword:
            return DecodePassword(message);
        case from_gui::kSetOption:
            return DecodeSetOption(message);
        case from_gui::kOptionList:
            return DecodeOptionList(message);
        case from_gui::kSearchQuery:
            return DecodeSearch(message);
        case from_gui::kDownloadQuery:
            return DecodeDownload(message);
        case from_gui::kConsoleCommand:
            return DecodeConsole(message);
        case from_gui::kCloseQuery:
        case from_gui::kCancelDownload:
        case from_gui::kSwitchDownload:
            return DecodeNumbered(opcode, message);
        case from_gui::kAskDownloads:
            return AskDownloads{};
        case from_gui::kAskUploadStats:
            return AskUploadStats{};
        case from_gui::kShutdown:
            return Shutdown{};
        default:
            return Unreadable{opcode, false};
    }
}

}  // namespace

int FrameOpcode(std::span<const std::uint8_t> body) {
    return body.size() < 2 ? 0 : body[0] | (body[1] << 8);
}

GuiRequest DecodeRequest(std::span<const std::uint8_t> body) {
    const int opcode = FrameOpcode(body);
    GuiMessage message;
    if (!message.Load(body.data(), body.size())) {
        return Unreadable{opcode, true};
    }
    message.Get16();
    std::optional<GuiRequest> request = DecodeBody(opcode, message);
    return request ? std::move(*request) : GuiRequest{Unreadable{opcode, true}};
}

}  // namespace korvana::sim
