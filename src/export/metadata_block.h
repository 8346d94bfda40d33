#pragma once
// The metadata block every written picture carries: IPTC datasets (program, date,
// caption, keywords) inside an "8BIM" image resource 0x0404, as image editors store IPTC.
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvanthe {

struct CalendarDate {
    int year;
    int month;
    int day;
};

// Extra keywords of one picture write, in 50-byte slots.
class KeywordList {
public:
    static constexpr int kSlots = 21;
    static constexpr int kMaxKeywords = 19;
    static constexpr int kSlotBytes = 50;

    void reset();
    // Refused when the list is full, the text is empty or 50 bytes or longer, or it is
    // the beginning of a keyword already listed (letter case ignored).
    bool add(std::string_view keyword);
    int count() const { return count_; }
    std::string_view keyword(int index) const;

private:
    char slots_[kSlots][kSlotBytes] = {};
    int count_ = 0;
};

// Marks a picture as high dynamic range: adds "HDR" and "high dynamic range".
void add_high_dynamic_range_keywords(KeywordList& keywords);

// The block's bytes; with_jpeg_signature puts "Photoshop 3.0\0" first, as an APP13
// segment wants it. The length is measured first, so any keyword list fits.
std::vector<uint8_t> build_metadata_block(const KeywordList& keywords, CalendarDate date, bool with_jpeg_signature);

// Today's date in UTC.
CalendarDate today_utc();

}  // namespace corvanthe
