#include "catalogue/channel_record.h"

namespace cd::catalogue {

bool IsRecordLine(std::string_view decodedLine) { return decodedLine.find(kFieldSeparator) != std::string_view::npos; }

std::optional<RecordFields> SplitRecordFields(std::string_view decodedLine) {
    std::size_t bar = decodedLine.find(kFieldSeparator);
    if (bar == std::string_view::npos) return std::nullopt;
    RecordFields fields;
    std::string_view* slots[] = {&fields.name, &fields.address, &fields.category, &fields.languages};
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = bar == std::string_view::npos ? decodedLine.size() : bar;
        if (fields.fieldCount < 4) *slots[fields.fieldCount] = decodedLine.substr(pos, end - pos);
        ++fields.fieldCount;
        if (bar == std::string_view::npos) break;
        pos = bar + 1;
        bar = decodedLine.find(kFieldSeparator, pos);
    }
    return fields;
}

std::optional<ChannelRecord> ParseChannelRecord(std::string_view decodedLine) {
    const auto fields = SplitRecordFields(decodedLine);
    if (!fields) return std::nullopt;
    return ChannelRecord{std::string(fields->name), std::string(fields->address), std::string(fields->category),
                         std::string(fields->languages), fields->fieldCount};
}

std::string RecordLine(const ChannelRecord& record) {
    std::string line;
    line.reserve(record.name.size() + record.address.size() + record.category.size() + record.languages.size() + 3);
    line += record.name;
    line += kFieldSeparator;
    line += record.address;
    line += kFieldSeparator;
    line += record.category;
    line += kFieldSeparator;
    line += record.languages;
    return line;
}

}  // namespace cd::catalogue
