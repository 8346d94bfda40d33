// The test host's descriptor procedures: what the plug-in writes comes back through
// the read procedures, item by item, and malformed descriptors are refused.
#include <gtest/gtest.h>

#include <cstring>

#include "hosting/descriptor_store.h"
#include "sdk/filter_record.h"
#include "sdk/four_cc.h"

namespace corvanthe::hosting {
namespace {

class DescriptorStoreTest : public ::testing::Test {
protected:
    HandleTable handles;
    DescriptorStore store{handles};
    sdk::ReadDescriptorProcs& r = *store.read_procs();
    sdk::WriteDescriptorProcs& w = *store.write_procs();
};

TEST_F(DescriptorStoreTest, OffersEveryProcedure) {
    EXPECT_EQ(r.readDescriptorProcsVersion, 0);
    EXPECT_EQ(r.numReadDescriptorProcs, 18);
    EXPECT_EQ(w.writeDescriptorProcsVersion, 0);
    EXPECT_EQ(w.numWriteDescriptorProcs, 16);
    // The tables hold nothing but the two counts and the procedure pointers.
    const auto* read_slots = reinterpret_cast<void* const*>(&r.openReadDescriptorProc);
    for (int i = 0; i < 18; ++i) EXPECT_NE(read_slots[i], nullptr) << "read procedure " << i;
    const auto* write_slots = reinterpret_cast<void* const*>(&w.openWriteDescriptorProc);
    for (int i = 0; i < 16; ++i) EXPECT_NE(write_slots[i], nullptr) << "write procedure " << i;
}

TEST_F(DescriptorStoreTest, WrittenItemsReadBackInOrderWithTheirTypes) {
    sdk::PIWriteDescriptor writer = w.openWriteDescriptorProc();
    ASSERT_NE(writer, nullptr);
    const double pi = 3.25, unit_value = -7.5;
    EXPECT_EQ(w.putIntegerProc(writer, four_cc("0014"), -80), 0);
    EXPECT_EQ(w.putFloatProc(writer, four_cc("0042"), &pi), 0);
    EXPECT_EQ(w.putBooleanProc(writer, four_cc("0021"), 1), 0);
    EXPECT_EQ(w.putEnumeratedProc(writer, four_cc("sgky"), four_cc("sgty"), four_cc("sg07")), 0);
    EXPECT_EQ(w.putUnitFloatProc(writer, four_cc("Angl"), four_cc("#Ang"), &unit_value), 0);
    const unsigned char name[] = {3, 'a', 'b', 'c'};
    EXPECT_EQ(w.putStringProc(writer, four_cc("Nm  "), name), 0);
    EXPECT_EQ(w.putCountProc(writer, four_cc("Cnt "), 12), 0);
    EXPECT_EQ(w.putClassProc(writer, four_cc("Clss"), four_cc("Fcrv")), 0);
    EXPECT_EQ(w.putIntegerProc(writer, four_cc("0014"), 81), 0);  // replaces the first value in place
    sdk::PIDescriptorHandle handle = nullptr;
    ASSERT_EQ(w.closeWriteDescriptorProc(writer, &handle), 0);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(store.open_writers(), 0u);

    sdk::DescriptorKeyID wanted[] = {four_cc("0014"), four_cc("0042"), 0};
    sdk::PIReadDescriptor reader = r.openReadDescriptorProc(handle, wanted);
    ASSERT_NE(reader, nullptr);
    sdk::DescriptorKeyID key = 0;
    sdk::DescriptorTypeID type = 0;
    int32_t flags = -1;

    ASSERT_TRUE(r.getKeyProc(reader, &key, &type, &flags));
    EXPECT_EQ(key, four_cc("0014"));
    EXPECT_EQ(type, four_cc("long"));
    EXPECT_EQ(flags, 0);
    int32_t integer = 0;
    EXPECT_EQ(r.getIntegerProc(reader, &integer), 0);
    EXPECT_EQ(integer, 81);
    EXPECT_EQ(r.getPinnedIntegerProc(reader, 0, 50, &integer), 0);
    EXPECT_EQ(integer, 50);
    sdk::Boolean boolean = 0;
    EXPECT_EQ(r.getBooleanProc(reader, &boolean), kWrongDataType);

    ASSERT_TRUE(r.getKeyProc(reader, &key, &type, &flags));
    EXPECT_EQ(type, four_cc("doub"));
    double number = 0;
    EXPECT_EQ(r.getFloatProc(reader, &number), 0);
    EXPECT_EQ(number, 3.25);

    ASSERT_TRUE(r.getKeyProc(reader, &key, &type, &flags));
    EXPECT_EQ(type, four_cc("bool"));
    EXPECT_EQ(r.getBooleanProc(reader, &boolean), 0);
    EXPECT_EQ(boolean, 1);

    ASSERT_TRUE(r.getKeyProc(reader, &key, &type, &flags));
    EXPECT_EQ(key, four_cc("sgky"));
    sdk::DescriptorEnumID enumerator = 0;
    EXPECT_EQ(r.getEnumeratedProc(reader, &enumerator), 0);
    EXPECT_EQ(enumerator, four_cc("sg07"));

    ASSERT_TRUE(r.getKeyProc(reader, &key, &type, &flags));
    sdk::DescriptorUnitID unit = 0;
    EXPECT_EQ(r.getUnitFloatProc(reader, &unit, &number), 0);
    EXPECT_EQ(unit, four_cc("#Ang"));
    EXPECT_EQ(number, -7.5);

    ASSERT_TRUE(r.getKeyProc(reader, &key, &type, &flags));
    unsigned char text[256] = {};
    EXPECT_EQ(r.getStringProc(reader, text), 0);
    EXPECT_EQ(0, std::memcmp(text, name, sizeof name));

    ASSERT_TRUE(r.getKeyProc(reader, &key, &type, &flags));
    uint32_t count = 0;
    EXPECT_EQ(r.getCountProc(reader, &count), 0);
    EXPECT_EQ(count, 12u);

    ASSERT_TRUE(r.getKeyProc(reader, &key, &type, &flags));
    sdk::DescriptorClassID type_class = 0;
    EXPECT_EQ(r.getClassProc(reader, &type_class), 0);
    EXPECT_EQ(type_class, four_cc("Fcrv"));

    EXPECT_FALSE(r.getKeyProc(reader, &key, &type, &flags));
    EXPECT_EQ(r.getIntegerProc(reader, &integer), sdk::kErrMissingParameter) << "no current item";
    EXPECT_EQ(r.closeReadDescriptorProc(reader), 0) << "both wanted keys were there";
    EXPECT_EQ(store.open_readers(), 0u);
    handles.release(handle);
}

TEST_F(DescriptorStoreTest, ClosingReportsWantedKeysThatWereMissing) {
    Descriptor d;
    d.put_integer(four_cc("0014"), 80);
    const sdk::Handle handle = store.make_handle(d);
    sdk::DescriptorKeyID wanted[] = {four_cc("0014"), four_cc("0015"), 0};
    sdk::PIReadDescriptor reader = r.openReadDescriptorProc(handle, wanted);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(r.closeReadDescriptorProc(reader), sdk::kErrMissingParameter);
    EXPECT_EQ(r.closeReadDescriptorProc(reader), kParameterError) << "a token closes once";
    handles.release(handle);
}

TEST_F(DescriptorStoreTest, OpensOnlyHandlesThatHoldADescriptor) {
    sdk::DescriptorKeyID wanted[] = {0};
    EXPECT_EQ(r.openReadDescriptorProc(nullptr, wanted), nullptr);
    const uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const sdk::Handle not_a_descriptor = handles.allocate_copy(junk);
    EXPECT_EQ(r.openReadDescriptorProc(not_a_descriptor, wanted), nullptr);
    char* foreign_block = nullptr;
    EXPECT_EQ(r.openReadDescriptorProc(&foreign_block, wanted), nullptr) << "a handle the host does not own";
    handles.release(not_a_descriptor);
}

TEST(DescriptorBytes, RoundTripAndRejectEveryTruncation) {
    Descriptor d;
    d.put_integer(four_cc("0001"), 255)
        .put_float(four_cc("0050"), -0.125)
        .put_boolean(four_cc("0039"), false)
        .put_enumerated(four_cc("suky"), four_cc("suty"), four_cc("su03"));
    d.put({.key = four_cc("Txt "), .kind = ItemKind::Text, .bytes = "sun"});
    const std::vector<uint8_t> bytes = encode_descriptor(d);

    const std::optional<Descriptor> back = decode_descriptor(bytes);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->items.size(), 5u);
    EXPECT_EQ(back->find(four_cc("0001"))->integer, 255);
    EXPECT_EQ(back->find(four_cc("0050"))->number, -0.125);
    EXPECT_EQ(back->find(four_cc("0039"))->kind, ItemKind::Boolean);
    EXPECT_EQ(back->find(four_cc("suky"))->value, four_cc("su03"));
    EXPECT_EQ(back->find(four_cc("Txt "))->bytes, "sun");

    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(decode_descriptor(std::span(bytes.data(), length))) << "cut to " << length << " bytes";
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(decode_descriptor(longer)) << "trailing byte";
}

}  // namespace
}  // namespace corvanthe::hosting
