// Mutates a workbook file inside its package. Mostly one part is unpacked, mutated and packed
// again (stored, with its checksum right), so that mutations reach the XML readers instead of
// ending at the package's checksums; otherwise the raw bytes are mutated, which tries the
// package reader itself.
#include <zip.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

struct Part {
    std::string name;
    std::string bytes;
};

constexpr zip_uint64_t kMaxPart = 16u << 20;

bool readPart(zip_t* zip, zip_uint64_t index, std::vector<Part>& parts)
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE)
        || st.size > kMaxPart)
        return false;
    Part part{st.name, std::string(st.size, '\0')};
    zip_file_t* f = zip_fopen_index(zip, index, 0);
    if (!f)
        return false;
    const bool whole = zip_fread(f, part.bytes.data(), st.size) == zip_int64_t(st.size);
    zip_fclose(f);
    parts.push_back(std::move(part));
    return whole;
}

bool unpack(const uint8_t* data, size_t size, std::vector<Part>& parts)
{
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(data, size, 0, &err);
    zip_t* zip = src ? zip_open_from_source(src, ZIP_RDONLY, &err) : nullptr;
    zip_error_fini(&err);
    if (!zip) {
        if (src)
            zip_source_free(src);
        return false;
    }
    const zip_int64_t n = zip_get_num_entries(zip, 0);
    bool ok = n > 0;
    for (zip_int64_t i = 0; ok && i < n; ++i)
        ok = readPart(zip, zip_uint64_t(i), parts);
    zip_discard(zip);
    return ok;
}

// The parts as a stored package; empty when packing failed.
std::string pack(const std::vector<Part>& parts)
{
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &err);
    zip_error_fini(&err);
    if (!out)
        return {};
    zip_source_keep(out);
    zip_t* zip = zip_open_from_source(out, ZIP_TRUNCATE, nullptr);
    bool ok = zip != nullptr;
    for (const Part& p : parts) {
        if (!ok)
            break;
        zip_source_t* s = zip_source_buffer(zip, p.bytes.data(), p.bytes.size(), 0);
        const zip_int64_t index = s ? zip_file_add(zip, p.name.c_str(), s, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0 && s)
            zip_source_free(s);
        ok = index >= 0 && zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0) == 0;
    }
    std::string bytes;
    if (ok && zip_close(zip) == 0) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_source_stat(out, &st) == 0 && (st.valid & ZIP_STAT_SIZE) && zip_source_open(out) == 0) {
            bytes.resize(st.size);
            if (zip_source_read(out, bytes.data(), st.size) != zip_int64_t(st.size))
                bytes.clear();
            zip_source_close(out);
        }
    } else if (zip) {
        zip_discard(zip);
    }
    zip_source_free(out);
    return bytes;
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed)
{
    std::minstd_rand random(seed);
    std::vector<Part> parts;
    if (random() % 4 == 0 || !unpack(data, size, parts))
        return LLVMFuzzerMutate(data, size, maxSize);

    std::string& bytes = parts[random() % parts.size()].bytes;
    const size_t used = bytes.size();
    bytes.resize(used + 64);  // room to grow a little
    bytes.resize(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(bytes.data()), used, bytes.size()));
    const std::string packed = pack(parts);
    if (packed.empty() || packed.size() > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, packed.data(), packed.size());
    return packed.size();
}
