#include "formats/channel.h"

namespace cd::formats {

std::string recordLine(const Channel& channel) {
    std::string line;
    line.reserve(channel.name.size() + channel.address.size() + channel.category.size() + channel.languages.size() + 3);
    line += channel.name;
    line += kFieldSeparator;
    line += channel.address;
    line += kFieldSeparator;
    line += channel.category;
    line += kFieldSeparator;
    line += channel.languages;
    return line;
}

std::optional<Channel> parseRecordLine(std::string_view decodedLine, std::size_t* fieldCount) {
    if (decodedLine.find(kFieldSeparator) == std::string_view::npos) return std::nullopt;
    Channel channel;
    std::string* slots[] = {&channel.name, &channel.address, &channel.category, &channel.languages};
    std::size_t count = 0;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t bar = decodedLine.find(kFieldSeparator, pos);
        const std::size_t end = bar == std::string_view::npos ? decodedLine.size() : bar;
        if (count < 4) slots[count]->assign(decodedLine.substr(pos, end - pos));
        ++count;
        if (bar == std::string_view::npos) break;
        pos = bar + 1;
    }
    if (fieldCount) *fieldCount = count;
    return channel;
}

}  // namespace cd::formats
