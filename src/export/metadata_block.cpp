#include "export/metadata_block.h"

#include <cctype>
#include <cstring>
#include <ctime>

#include "platform/product.h"

namespace corvanthe {
namespace {

constexpr char kJpegSignature[] = "Photoshop 3.0";  // stored with its zero byte
constexpr uint8_t kIptcTag = 0x1C;
constexpr uint8_t kApplicationRecord = 2;

enum Dataset : uint8_t {
    kRecordVersion = 0,
    kKeywords = 25,
    kDateCreated = 55,
    kSource = 115,
    kCaption = 120,
};

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

void put_digits(char* out, unsigned value, int width) {
    for (int i = width - 1; i >= 0; --i, value /= 10) out[i] = char('0' + value % 10);
}

// Writes big-endian values; with no buffer it only measures.
class BlockWriter {
public:
    explicit BlockWriter(uint8_t* out) : out_(out) {}
    void bytes(const void* data, std::size_t n) {
        if (out_) std::memcpy(out_ + size_, data, n);
        size_ += n;
    }
    void byte(uint8_t b) { bytes(&b, 1); }
    void u16(uint16_t v) {
        byte(uint8_t(v >> 8));
        byte(uint8_t(v));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v >> 16));
        u16(uint16_t(v));
    }
    void dataset(uint8_t number, std::string_view data) {
        byte(kIptcTag);
        byte(kApplicationRecord);
        byte(number);
        u16(uint16_t(data.size()));
        bytes(data.data(), data.size());
    }
    std::size_t size() const { return size_; }

private:
    uint8_t* out_;
    std::size_t size_ = 0;
};

void write_datasets(BlockWriter& w, const KeywordList& keywords, const char (&date)[9]) {
    static constexpr char kVersion[] = {0x00, 0x02};
    w.dataset(kRecordVersion, std::string_view(kVersion, 2));
    w.dataset(kSource, product::kMakerWebAddress);
    w.dataset(kDateCreated, date);
    w.dataset(kCaption, "Made with Corvanthe");
    w.dataset(kKeywords, product::kName);
    for (int i = 0; i < keywords.count(); ++i) w.dataset(kKeywords, keywords.keyword(i));
}

void write_block(BlockWriter& w, const KeywordList& keywords, const char (&date)[9], bool with_jpeg_signature) {
    BlockWriter measure(nullptr);
    write_datasets(measure, keywords, date);
    const std::size_t iptc_length = measure.size();

    if (with_jpeg_signature) w.bytes(kJpegSignature, sizeof kJpegSignature);
    w.bytes("8BIM", 4);
    w.u16(0x0404);
    w.byte(0);  // empty resource name
    w.byte(0);  // padding to an even length
    w.u32(uint32_t(iptc_length));
    write_datasets(w, keywords, date);
    if (iptc_length % 2) w.byte(0);
}

}  // namespace

void KeywordList::reset() {
    std::memset(slots_, 0, sizeof slots_);
    count_ = 0;
}

bool KeywordList::add(std::string_view keyword) {
    if (count_ >= kMaxKeywords || keyword.empty() || keyword.size() >= kSlotBytes) return false;
    for (int i = 0; i < count_; ++i)
        if (starts_with_ignoring_case(this->keyword(i), keyword)) return false;
    std::memcpy(slots_[count_], keyword.data(), keyword.size());
    ++count_;
    return true;
}

std::string_view KeywordList::keyword(int index) const { return slots_[index]; }

void add_high_dynamic_range_keywords(KeywordList& keywords) {
    keywords.add("HDR");
    keywords.add("high dynamic range");
}

std::vector<uint8_t> build_metadata_block(const KeywordList& keywords, CalendarDate date, bool with_jpeg_signature) {
    // Eight digits, "%04d%02d%02d" of year, month and day.
    char digits[9];
    put_digits(digits, unsigned(date.year), 4);
    put_digits(digits + 4, unsigned(date.month), 2);
    put_digits(digits + 6, unsigned(date.day), 2);
    digits[8] = '\0';

    BlockWriter measure(nullptr);
    write_block(measure, keywords, digits, with_jpeg_signature);
    std::vector<uint8_t> block(measure.size());
    BlockWriter out(block.data());
    write_block(out, keywords, digits, with_jpeg_signature);
    return block;
}

CalendarDate today_utc() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
}

}  // namespace corvanthe
