#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/metadata_block.h"

namespace corvanthe {
namespace {

struct Dataset {
    int record;
    int number;
    std::string data;
};

struct ParsedBlock {
    bool signature = false;
    std::vector<Dataset> datasets;
    std::size_t declared_length = 0;
    std::size_t total = 0;
};

// An independent reader of the block: checks the wrapper and splits the datasets.
ParsedBlock parse(const std::vector<uint8_t>& b) {
    ParsedBlock p;
    p.total = b.size();
    std::size_t at = 0;
    const std::string signature("Photoshop 3.0\0", 14);
    if (b.size() >= 14 && std::string(b.begin(), b.begin() + 14) == signature) {
        p.signature = true;
        at = 14;
    }
    EXPECT_EQ(std::string(b.begin() + at, b.begin() + at + 4), "8BIM");
    EXPECT_EQ(b[at + 4], 0x04);
    EXPECT_EQ(b[at + 5], 0x04);
    EXPECT_EQ(b[at + 6], 0);
    EXPECT_EQ(b[at + 7], 0);
    p.declared_length = (std::size_t(b[at + 8]) << 24) | (std::size_t(b[at + 9]) << 16) |
                        (std::size_t(b[at + 10]) << 8) | b[at + 11];
    at += 12;
    const std::size_t end = at + p.declared_length;
    while (at < end) {
        EXPECT_EQ(b[at], 0x1C);
        const std::size_t n = (std::size_t(b[at + 3]) << 8) | b[at + 4];
        p.datasets.push_back({b[at + 1], b[at + 2], std::string(b.begin() + at + 5, b.begin() + at + 5 + n)});
        at += 5 + n;
    }
    EXPECT_EQ(at, end);
    EXPECT_EQ(b.size(), end + (p.declared_length % 2));
    if (p.declared_length % 2) {
        EXPECT_EQ(b.back(), 0);
    }
    return p;
}

}  // namespace

TEST(MetadataBlock, PlainPictureCarriesExactlyFiveDatasetsInOrder) {
    KeywordList keywords;
    const ParsedBlock p = parse(build_metadata_block(keywords, {2026, 12, 8}, true));
    EXPECT_TRUE(p.signature);
    ASSERT_EQ(p.datasets.size(), 5u);
    EXPECT_EQ(p.datasets[0].number, 0);
    EXPECT_EQ(p.datasets[0].data, std::string("\x00\x02", 2));
    EXPECT_EQ(p.datasets[1].number, 115);
    EXPECT_EQ(p.datasets[1].data.rfind("https://", 0), 0u);
    EXPECT_LE(p.datasets[1].data.size(), 32u);  // the most the IPTC standard allows a source
    EXPECT_EQ(p.datasets[2].number, 55);
    EXPECT_EQ(p.datasets[2].data, "20261208");
    EXPECT_EQ(p.datasets[3].number, 120);
    EXPECT_EQ(p.datasets[3].data, "Made with Corvanthe");
    EXPECT_EQ(p.datasets[4].number, 25);
    EXPECT_EQ(p.datasets[4].data, "Corvanthe");
    for (const Dataset& d : p.datasets) EXPECT_EQ(d.record, 2);
}

TEST(MetadataBlock, WithoutSignatureStartsAtTheResource) {
    KeywordList keywords;
    const std::vector<uint8_t> with = build_metadata_block(keywords, {2026, 1, 2}, true);
    const std::vector<uint8_t> without = build_metadata_block(keywords, {2026, 1, 2}, false);
    EXPECT_FALSE(parse(without).signature);
    ASSERT_EQ(with.size(), without.size() + 14);
    EXPECT_TRUE(std::equal(without.begin(), without.end(), with.begin() + 14));
    EXPECT_EQ(parse(without).datasets[2].data, "20260102");
}

TEST(MetadataBlock, OddLengthsArePaddedAndEvenOnesAreNot) {
    KeywordList keywords;
    const std::size_t base = parse(build_metadata_block(keywords, {2026, 12, 8}, false)).declared_length;
    keywords.add("a");  // one dataset of 6 bytes keeps the parity
    keywords.add("bc"); // 7 bytes flips it
    const ParsedBlock p = parse(build_metadata_block(keywords, {2026, 12, 8}, false));
    EXPECT_EQ(p.declared_length, base + 13);
    ASSERT_EQ(p.datasets.size(), 7u);
    EXPECT_EQ(p.datasets[5].data, "a");
    EXPECT_EQ(p.datasets[6].data, "bc");
}

TEST(KeywordList, RefusesEmptyTooLongAndPrefixesOfListedKeywords) {
    KeywordList keywords;
    EXPECT_FALSE(keywords.add(""));
    EXPECT_TRUE(keywords.add(std::string(49, 'x')));
    EXPECT_FALSE(keywords.add(std::string(50, 'y')));
    EXPECT_TRUE(keywords.add("hdrImage"));
    EXPECT_FALSE(keywords.add("HDR"));
    EXPECT_FALSE(keywords.add("xX"));
    EXPECT_TRUE(keywords.add("sunset"));
    EXPECT_EQ(keywords.count(), 3);
    keywords.reset();
    EXPECT_EQ(keywords.count(), 0);
    EXPECT_TRUE(keywords.add("HDR"));
}

TEST(KeywordList, HighDynamicRangeAddsBothKeywordsOnce) {
    KeywordList keywords;
    add_high_dynamic_range_keywords(keywords);
    add_high_dynamic_range_keywords(keywords);
    ASSERT_EQ(keywords.count(), 2);
    EXPECT_EQ(keywords.keyword(0), "HDR");
    EXPECT_EQ(keywords.keyword(1), "high dynamic range");
    EXPECT_EQ(parse(build_metadata_block(keywords, {2026, 12, 8}, true)).datasets.size(), 7u);
}

TEST(KeywordList, HoldsNineteenAndAFullListStillBuildsWhole) {
    KeywordList keywords;
    for (int i = 0; i < 25; ++i) keywords.add(std::string(1, char('a' + i)) + std::string(48, '0'));
    EXPECT_EQ(keywords.count(), 19);
    const ParsedBlock p = parse(build_metadata_block(keywords, {2026, 12, 8}, true));
    EXPECT_EQ(p.datasets.size(), 24u);
    EXPECT_GT(p.total, 1000u);
}

}  // namespace corvanthe
