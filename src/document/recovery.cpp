#include "document/recovery.h"

#include <charconv>

namespace vs {

namespace {

constexpr std::string_view kMagic = "Vaultsmith recovery 1\n";

// Each field is its length in decimal, ":", the bytes and "\n".
void put(std::string& out, std::string_view field)
{
    out += std::to_string(field.size());
    out += ':';
    out += field;
    out += '\n';
}

void putNumber(std::string& out, int64_t value)
{
    put(out, std::to_string(value));
}

class Fields {
public:
    explicit Fields(std::string_view bytes) : rest_(bytes) {}

    std::optional<std::string_view> next()
    {
        const size_t colon = rest_.find(':');
        if (colon == std::string_view::npos || colon == 0 || colon > 19)
            return std::nullopt;
        uint64_t length = 0;
        const auto [end, error] = std::from_chars(rest_.data(), rest_.data() + colon, length);
        if (error != std::errc() || end != rest_.data() + colon || length > rest_.size() - colon - 1 ||
            rest_.size() - colon - 1 - length < 1 || rest_[colon + 1 + length] != '\n')
            return std::nullopt;
        const std::string_view field = rest_.substr(colon + 1, length);
        rest_.remove_prefix(colon + 2 + length);
        return field;
    }
    std::optional<int64_t> number()
    {
        const std::optional<std::string_view> field = next();
        int64_t value = 0;
        if (!field || field->empty() ||
            std::from_chars(field->data(), field->data() + field->size(), value).ptr != field->data() + field->size())
            return std::nullopt;
        return value;
    }
    bool done() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

std::string header(const Recovery& recovery, std::string_view kind)
{
    std::string out(kMagic);
    put(out, kind);
    putNumber(out, recovery.writtenAtMs);
    putNumber(out, recovery.pid);
    put(out, recovery.path);
    return out;
}

}  // namespace

std::string encodeRecovery(const Recovery& recovery)
{
    if (recovery.kind == Recovery::Kind::List)
        return encodeListRecovery(recovery, recovery.source, recovery.entries);
    // A storage of the database says so in its kind: cut short after its
    // bytes, it is no recovery rather than a storage of no file.
    const bool database = !recovery.databaseUrl.empty();
    std::string out = header(recovery, database ? "database-storage" : "storage");
    put(out, recovery.storageKind);
    put(out, recovery.storageBytes);
    if (database)
        for (const std::string* field : {&recovery.databaseUrl, &recovery.databaseTable, &recovery.databaseKey,
                                         &recovery.databaseColumn, &recovery.databaseOwner, &recovery.databaseOriginal})
            put(out, *field);
    return out;
}

std::string encodeListRecovery(const Recovery& recovery, std::string_view source, const EntryList& entries)
{
    std::string out = header(recovery, "list");
    put(out, recovery.layout);
    put(out, recovery.encoding);
    // Room for the source and each entry's text and numbers at once.
    size_t size = out.size() + source.size() + 32;
    for (const ListEntry& entry : entries)
        size += entry.text.size() + 40;
    out.reserve(size);
    put(out, source);
    putNumber(out, static_cast<int64_t>(entries.size()));
    for (const ListEntry& entry : entries) {
        putNumber(out, entry.kind);
        putNumber(out, entry.origin.line);
        putNumber(out, entry.origin.slot);
        put(out, entry.text);
        putNumber(out, static_cast<int64_t>(entry.rest.fields.size()));
        for (const std::string& field : entry.rest.fields)
            put(out, field);
        put(out, entry.rest.tail ? "1" : "0");
        put(out, entry.rest.tail.value_or(std::string()));
    }
    return out;
}

std::optional<Recovery> decodeRecovery(std::string_view bytes)
{
    if (bytes.substr(0, kMagic.size()) != kMagic)
        return std::nullopt;
    Fields fields(bytes.substr(kMagic.size()));
    Recovery recovery;
    const auto kind = fields.next();
    const auto written = fields.number();
    const auto pid = fields.number();
    const auto path = fields.next();
    if (!kind || !written || !pid || !path || (*kind != "list" && *kind != "storage" && *kind != "database-storage"))
        return std::nullopt;
    recovery.writtenAtMs = *written;
    recovery.pid = *pid;
    recovery.path = *path;
    if (*kind == "storage" || *kind == "database-storage") {
        recovery.kind = Recovery::Kind::Storage;
        const auto storageKind = fields.next();
        const auto storageBytes = fields.next();
        if (!storageKind || !storageBytes)
            return std::nullopt;
        recovery.storageKind = *storageKind;
        recovery.storageBytes = *storageBytes;
        if (*kind == "storage")
            return fields.done() ? std::optional<Recovery>(std::move(recovery)) : std::nullopt;
        for (std::string* field : {&recovery.databaseUrl, &recovery.databaseTable, &recovery.databaseKey,
                                   &recovery.databaseColumn, &recovery.databaseOwner, &recovery.databaseOriginal}) {
            const auto value = fields.next();
            if (!value)
                return std::nullopt;
            *field = *value;
        }
        if (recovery.databaseUrl.empty() || !fields.done())
            return std::nullopt;
        return recovery;
    }
    const auto layout = fields.next();
    const auto encoding = fields.next();
    const auto source = fields.next();
    const auto count = fields.number();
    if (!layout || !encoding || !source || !count || *count < 0 || static_cast<uint64_t>(*count) > bytes.size())
        return std::nullopt;
    recovery.layout = *layout;
    recovery.encoding = *encoding;
    recovery.source = *source;
    recovery.entries.reserve(static_cast<size_t>(*count));
    for (int64_t e = 0; e < *count; ++e) {
        const auto entryKind = fields.number();
        const auto line = fields.number();
        const auto slot = fields.number();
        const auto text = fields.next();
        const auto extra = fields.number();
        if (!entryKind || !line || !slot || !text || !extra || *extra < 0 ||
            static_cast<uint64_t>(*extra) > bytes.size() || *entryKind < 0 || *entryKind > 2 || *line < -1 ||
            *line > INT32_MAX || *slot < 0 || *slot > INT32_MAX)
            return std::nullopt;
        ListEntry entry(std::string(*text), static_cast<int>(*entryKind), {},
                        {static_cast<int32_t>(*line), static_cast<int32_t>(*slot)});
        for (int64_t f = 0; f < *extra; ++f) {
            const auto field = fields.next();
            if (!field)
                return std::nullopt;
            entry.rest.fields.emplace_back(*field);
        }
        const auto hasTail = fields.next();
        const auto tail = fields.next();
        if (!hasTail || !tail || (*hasTail != "0" && *hasTail != "1"))
            return std::nullopt;
        if (*hasTail == "1")
            entry.rest.tail = std::string(*tail);
        recovery.entries.push_back(std::move(entry));
    }
    if (!fields.done())
        return std::nullopt;
    return recovery;
}

}  // namespace vs
