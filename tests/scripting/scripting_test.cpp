// Reading and writing the scripting descriptor against the test host's descriptor
// procedures, with a parameter block filled by the test.
#include <gtest/gtest.h>

#include <cmath>

#include "host/scripting.h"
#include "hosting/descriptor_store.h"
#include "sdk/four_cc.h"
#include "settings/parameter_table.h"

namespace corvanthe {
namespace {

using hosting::Descriptor;
using hosting::ItemKind;

hosting::HandleTable* g_handles = nullptr;
int g_disposed = 0;

void CORVANTHE_HOST_API dispose_handle(sdk::Handle h) {
    ++g_disposed;
    g_handles->release(h);
}

class ScriptingTest : public ::testing::Test {
protected:
    ScriptingTest() {
        g_handles = &handles;
        g_disposed = 0;
        handle_procs.handleProcsVersion = 1;
        handle_procs.numHandleProcs = 8;
        handle_procs.disposeProc = dispose_handle;
        parameters.descriptorParametersVersion = 0;
        parameters.playInfo = sdk::plugInDialogDontDisplay;
        parameters.recordInfo = sdk::plugInDialogRequired;
        parameters.readDescriptorProcs = &read_procs;
        parameters.writeDescriptorProcs = &write_procs;
        record.hostSig = four_cc("8BIM");
        record.handleProcs = &handle_procs;
        record.descriptorParameters = &parameters;
        initialise(settings);
    }
    ~ScriptingTest() override { g_handles = nullptr; }

    void hand_over(const Descriptor& d) { parameters.descriptor = store.make_handle(d); }

    hosting::HandleTable handles;
    hosting::DescriptorStore store{handles};
    sdk::ReadDescriptorProcs read_procs = *store.read_procs();
    sdk::WriteDescriptorProcs write_procs = *store.write_procs();
    sdk::HandleProcs handle_procs{};
    sdk::PIDescriptorParameters parameters{};
    sdk::FilterRecord record{};
    SunSettings settings{};
    uint8_t show_dialog = 7;  // neither 0 nor 1: shows whether it was set
};

TEST_F(ScriptingTest, OnlyRadiusGivenLeavesEveryOtherValueAtItsDefault) {
    settings.sun_radius = 5;
    settings.glue = 12;
    settings.x_center = 0.1f;
    hand_over(Descriptor().put_integer(four_cc("0014"), 80));
    const sdk::Handle given = parameters.descriptor;

    // The host reports the 48 other keys as missing; that is no failure.
    EXPECT_EQ(read_descriptor(record, settings, show_dialog), 0);
    SunSettings expected{};
    initialise(expected);
    expected.sun_radius = 80;
    for (const ParameterInfo& p : kParameters)
        EXPECT_EQ(get_float(settings, p), get_float(expected, p)) << p.name;
    EXPECT_EQ(parameters.descriptor, nullptr);
    EXPECT_EQ(g_disposed, 1);
    EXPECT_FALSE(handles.owns(given));
    EXPECT_EQ(store.open_readers(), 0u);
    EXPECT_EQ(show_dialog, 0);
}

TEST_F(ScriptingTest, ColoursTravelAsTheirHighByte) {
    hand_over(Descriptor().put_integer(four_cc("0001"), 255).put_integer(four_cc("0030"), 200));
    ASSERT_EQ(read_descriptor(record, settings, show_dialog), 0);
    EXPECT_EQ(settings.sun_colour.red, 65280);
    EXPECT_EQ(settings.spike_colour.red, 51200);

    settings.halo_colour.blue = 51455;  // high byte 200
    write_descriptor(record, settings);
    const std::optional<Descriptor> recorded = store.read_handle(parameters.descriptor);
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->find(four_cc("0001"))->integer, 255);
    EXPECT_EQ(recorded->find(four_cc("0030"))->integer, 200);
    EXPECT_EQ(recorded->find(four_cc("0009"))->integer, 200);
}

TEST_F(ScriptingTest, EnumerationsMapThroughTheirEnumeratorsAndUnknownOnesStoreZero) {
    hand_over(Descriptor()
                  .put_enumerated(four_cc("suky"), four_cc("suty"), four_cc("su03"))
                  .put_enumerated(four_cc("sgky"), four_cc("sgty"), four_cc("sg19")));
    ASSERT_EQ(read_descriptor(record, settings, show_dialog), 0);
    EXPECT_EQ(settings.sun_type, 3);
    EXPECT_EQ(settings.glue, 19);

    hand_over(Descriptor()
                  .put_enumerated(four_cc("suky"), four_cc("suty"), four_cc("sg01"))
                  .put_enumerated(four_cc("sgky"), four_cc("sgty"), four_cc("sg20")));
    ASSERT_EQ(read_descriptor(record, settings, show_dialog), 0);
    EXPECT_EQ(settings.sun_type, 0);
    EXPECT_EQ(settings.glue, 0);
}

TEST_F(ScriptingTest, AValueOfTheWrongTypeKeepsTheDefaultAndForeignKeysAreSkipped) {
    Descriptor d;
    d.put_integer(four_cc("0035"), 3).put({.key = four_cc("Txt "), .kind = ItemKind::Text, .bytes = "x"});
    hand_over(d.put_float(four_cc("0014"), 80.0)
                  .put_integer(four_cc("0021"), 0)
                  .put_boolean(four_cc("0015"), true)
                  .put_integer(four_cc("0016"), 70));
    ASSERT_EQ(read_descriptor(record, settings, show_dialog), 0);
    EXPECT_EQ(settings.sun_radius, 38);
    EXPECT_EQ(settings.vortices, 1);
    EXPECT_EQ(settings.sun_cold_hot, 0);
    EXPECT_EQ(settings.sun_smear, 70);
    EXPECT_EQ(settings.sun_type, 1) << "0035 is no key of ours";
}

TEST_F(ScriptingTest, WithoutADisposeProcedureTheHostKeepsTheDescriptor) {
    handle_procs.disposeProc = nullptr;
    hand_over(Descriptor().put_integer(four_cc("0014"), 80));
    const sdk::Handle given = parameters.descriptor;
    ASSERT_EQ(read_descriptor(record, settings, show_dialog), 0);
    EXPECT_EQ(settings.sun_radius, 80);
    EXPECT_EQ(parameters.descriptor, given);

    record.handleProcs = nullptr;
    ASSERT_EQ(read_descriptor(record, settings, show_dialog), 0);
    EXPECT_EQ(parameters.descriptor, given);
    EXPECT_EQ(g_disposed, 0);
}

TEST_F(ScriptingTest, PlayModeDecidesTheDialogEvenWithoutADescriptor) {
    const struct {
        int16_t play_info;
        uint8_t shown;
    } cases[] = {{sdk::plugInDialogDontDisplay, 0}, {sdk::plugInDialogDisplay, 1}, {sdk::plugInDialogSilent, 0}};
    for (const auto& c : cases) {
        parameters.playInfo = c.play_info;
        show_dialog = 7;
        EXPECT_EQ(read_descriptor(record, settings, show_dialog), 0);
        EXPECT_EQ(show_dialog, c.shown) << "playInfo " << c.play_info;
    }
    EXPECT_EQ(store.readers_opened(), 0) << "nothing to open";
}

TEST_F(ScriptingTest, ACloseErrorBecomesTheResult) {
    static sdk::CloseReadDescriptorProc real_close;
    real_close = read_procs.closeReadDescriptorProc;
    read_procs.closeReadDescriptorProc = [](sdk::PIReadDescriptor token) CORVANTHE_HOST_API -> sdk::OSErr {
        real_close(token);
        return -108;
    };
    hand_over(Descriptor().put_integer(four_cc("0014"), 80));
    EXPECT_EQ(read_descriptor(record, settings, show_dialog), -108);
    EXPECT_EQ(settings.sun_radius, 80);
    EXPECT_EQ(parameters.descriptor, nullptr);
}

TEST_F(ScriptingTest, AHostWhoseKeysNeverEndIsNotFollowedForever) {
    static int calls;
    calls = 0;
    read_procs.getKeyProc = [](sdk::PIReadDescriptor, sdk::DescriptorKeyID* key, sdk::DescriptorTypeID* type,
                               int32_t*) CORVANTHE_HOST_API -> sdk::Boolean {
        ++calls;
        *key = four_cc("0013");
        *type = four_cc("long");
        return true;
    };
    hand_over(Descriptor().put_integer(four_cc("0013"), 7));
    EXPECT_EQ(read_descriptor(record, settings, show_dialog), 0);
    EXPECT_GT(calls, 1);
    EXPECT_LT(calls, 100000);
}

TEST_F(ScriptingTest, HostsWithoutUsableScriptingAreLeftAlone) {
    const auto unusable = [&](const char* what, auto spoil) {
        sdk::FilterRecord spoilt = record;
        sdk::PIDescriptorParameters spoilt_parameters = parameters;
        sdk::ReadDescriptorProcs spoilt_read = read_procs;
        sdk::WriteDescriptorProcs spoilt_write = write_procs;
        spoilt.descriptorParameters = &spoilt_parameters;
        spoilt_parameters.readDescriptorProcs = &spoilt_read;
        spoilt_parameters.writeDescriptorProcs = &spoilt_write;
        spoilt_parameters.playInfo = sdk::plugInDialogDisplay;
        spoilt_parameters.descriptor = store.make_handle(Descriptor().put_integer(four_cc("0014"), 80));
        spoil(spoilt, spoilt_parameters, spoilt_read, spoilt_write);

        SCOPED_TRACE(what);
        SunSettings s{};
        initialise(s);
        s.sun_radius = 55;
        uint8_t flag = 7;
        const int readers = store.readers_opened(), writers = store.writers_opened();
        EXPECT_FALSE(scripting_available(spoilt));
        EXPECT_FALSE(descriptor_carries_our_keys(spoilt));
        EXPECT_EQ(read_descriptor(spoilt, s, flag), 0);
        write_descriptor(spoilt, s);
        EXPECT_EQ(s.sun_radius, 55) << "the settings stay";
        EXPECT_EQ(flag, 7) << "the show-dialog flag stays";
        EXPECT_EQ(store.readers_opened(), readers);
        EXPECT_EQ(store.writers_opened(), writers);
        EXPECT_NE(spoilt_parameters.descriptor, nullptr);
    };
    using R = sdk::FilterRecord;
    using P = sdk::PIDescriptorParameters;
    using Rd = sdk::ReadDescriptorProcs;
    using Wr = sdk::WriteDescriptorProcs;
    unusable("PSP8", [](R& r, P&, Rd&, Wr&) { r.hostSig = four_cc("PSP8"); });
    unusable("PSP9", [](R& r, P&, Rd&, Wr&) { r.hostSig = four_cc("PSP9"); });
    unusable("no parameters", [](R& r, P&, Rd&, Wr&) { r.descriptorParameters = nullptr; });
    unusable("parameters version 1", [](R&, P& p, Rd&, Wr&) { p.descriptorParametersVersion = 1; });
    unusable("no read procedures", [](R&, P& p, Rd&, Wr&) { p.readDescriptorProcs = nullptr; });
    unusable("read version 1", [](R&, P&, Rd& rd, Wr&) { rd.readDescriptorProcsVersion = 1; });
    unusable("17 read procedures", [](R&, P&, Rd& rd, Wr&) { rd.numReadDescriptorProcs = 17; });
    unusable("no get alias", [](R&, P&, Rd& rd, Wr&) { rd.getAliasProc = nullptr; });
    unusable("no get pinned unit float", [](R&, P&, Rd& rd, Wr&) { rd.getPinnedUnitFloatProc = nullptr; });
    unusable("no write procedures", [](R&, P& p, Rd&, Wr&) { p.writeDescriptorProcs = nullptr; });
    unusable("write version 1", [](R&, P&, Rd&, Wr& wr) { wr.writeDescriptorProcsVersion = 1; });
    unusable("15 write procedures", [](R&, P&, Rd&, Wr& wr) { wr.numWriteDescriptorProcs = 15; });
}

TEST_F(ScriptingTest, OurKeysAreFoundOnlyInAHandedOverDescriptor) {
    EXPECT_TRUE(scripting_available(record));
    EXPECT_FALSE(descriptor_carries_our_keys(record));
    hand_over(Descriptor().put_integer(four_cc("0014"), 80));
    EXPECT_TRUE(descriptor_carries_our_keys(record));
    EXPECT_EQ(store.open_readers(), 0u) << "the reader is closed again";
    EXPECT_NE(parameters.descriptor, nullptr) << "and the descriptor kept for Start";
}

TEST_F(ScriptingTest, FinishRecordsAll49ValuesInTableOrderAndReplacesTheOldDescriptor) {
    settings.vortices = 0;
    settings.flip_bow = 1;
    settings.sun_type = 2;
    settings.glue = 14;
    settings.flare_y = -0.75f;
    settings.colour4 = {1, 2, 3};  // not scripted
    hand_over(Descriptor().put_integer(four_cc("0014"), 1));
    const sdk::Handle old = parameters.descriptor;

    write_descriptor(record, settings);
    EXPECT_EQ(g_disposed, 1);
    EXPECT_FALSE(handles.owns(old));
    EXPECT_EQ(parameters.recordInfo, sdk::plugInDialogOptional);
    const std::optional<Descriptor> recorded = store.read_handle(parameters.descriptor);
    ASSERT_TRUE(recorded);
    ASSERT_EQ(recorded->items.size(), 49u);

    const char* const keys[] = {"0001", "0002", "0003", "0004", "0005", "0006", "0007", "0008", "0009", "0010",
                                "0011", "0012", "0013", "0014", "0015", "0016", "0017", "0018", "0019", "0020",
                                "0021", "0022", "0023", "0024", "0025", "0026", "0027", "0028", "0029", "0030",
                                "0031", "0032", "0033", "0034", "suky", "sgky", "0037", "0038", "0039", "0040",
                                "0041", "0042", "0043", "0045", "0046", "0048", "0049", "0050", "0051"};
    for (std::size_t i = 0; i < 49; ++i) EXPECT_EQ(four_cc_text(recorded->items[i].key), keys[i]);

    const auto item = [&](const char* key) { return *recorded->find(four_cc_code(key)); };
    EXPECT_EQ(item("0001").kind, ItemKind::Integer);
    EXPECT_EQ(item("0001").integer, 142);
    EXPECT_EQ(item("0014").integer, 38);
    EXPECT_EQ(item("0021").kind, ItemKind::Boolean);
    EXPECT_EQ(item("0021").integer, 0);
    EXPECT_EQ(item("0039").integer, 1);
    EXPECT_EQ(item("0043").kind, ItemKind::Float);
    EXPECT_EQ(item("0043").number, -0.75);
    EXPECT_EQ(item("suky").kind, ItemKind::Enumerated);
    EXPECT_EQ(four_cc_text(item("suky").type), "suty");
    EXPECT_EQ(four_cc_text(item("suky").value), "su02");
    EXPECT_EQ(four_cc_text(item("sgky").type), "sgty");
    EXPECT_EQ(four_cc_text(item("sgky").value), "sg14");
}

TEST_F(ScriptingTest, AFailedWriteKeepsTheRecordedDescriptor) {
    static sdk::CloseWriteDescriptorProc real_close;
    real_close = write_procs.closeWriteDescriptorProc;
    write_procs.closeWriteDescriptorProc = [](sdk::PIWriteDescriptor token,
                                              sdk::PIDescriptorHandle* handle) CORVANTHE_HOST_API -> sdk::OSErr {
        real_close(token, handle);
        return -108;
    };
    hand_over(Descriptor().put_integer(four_cc("0014"), 1));
    const sdk::Handle old = parameters.descriptor;
    write_descriptor(record, settings);
    EXPECT_EQ(parameters.descriptor, old);
    EXPECT_TRUE(handles.owns(old));
    EXPECT_EQ(g_disposed, 1) << "the half-made descriptor is disposed of";
    EXPECT_EQ(parameters.recordInfo, sdk::plugInDialogRequired) << "untouched";
}

TEST_F(ScriptingTest, ARecordedDescriptorReadsBackToTheSameSettings) {
    // Every parameter away from its default.
    for (const ParameterInfo& p : kParameters) {
        if (p.type == ParameterType::Float) set_float(settings, p, get_float(settings, p) + 0.375f);
        else if (p.type == ParameterType::Switch) set_integer(settings, p, 1 - get_integer(settings, p));
        else set_integer(settings, p, p.max - get_integer(settings, p) / 2);
    }
    write_descriptor(record, settings);
    SunSettings replayed{};
    initialise(replayed);
    ASSERT_EQ(read_descriptor(record, replayed, show_dialog), 0);
    for (const ParameterInfo& p : kParameters) EXPECT_EQ(get_float(replayed, p), get_float(settings, p)) << p.name;
    EXPECT_EQ(replayed.sun_colour.green, settings.sun_colour.green & 0xFF00);
}

}  // namespace
}  // namespace corvanthe
