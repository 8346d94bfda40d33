// Golden hashes of whole documents after a silent Start, the same at one thread and at
// several. Set CORVANTHE_UPDATE_GOLDEN=1 to rewrite tests/golden/documents.txt after a
// deliberate change of the rendered pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "glue/sun_run.h"
#include "layers/glue_mode.h"
#include "render/worker_pool.h"

namespace corvanthe::testing {
namespace {

using hosting::ColourKind;

struct Scenario {
    std::string name;
    DocumentShape shape;
    int32_t glue = kGlueNormal;
};

std::vector<Scenario> scenarios() {
    std::vector<Scenario> list;
    const DocumentShape rgb8{280, 270, 8, ColourKind::rgb, false, false};
    list.push_back({"default-rgb8", rgb8});
    for (int32_t mode = 1; mode <= kGlueModeCount; ++mode) {
        char name[32];
        std::snprintf(name, sizeof name, "glue%02d-rgb8", int(mode));
        list.push_back({name, rgb8, mode});
    }
    list.push_back({"rgb16", {280, 270, 16, ColourKind::rgb, false, false}});
    list.push_back({"rgb32", {280, 270, 32, ColourKind::rgb, false, false}});
    list.push_back({"grey8", {280, 270, 8, ColourKind::grey, false, false}});
    list.push_back({"grey16-overlay", {280, 270, 16, ColourKind::grey, false, false}, kGlueOverlay});
    list.push_back({"grey32", {280, 270, 32, ColourKind::grey, false, false}});
    list.push_back({"transparency-rgb8", {280, 270, 8, ColourKind::rgb, true, false}});
    list.push_back({"transparency-rgb8-composite", {280, 270, 8, ColourKind::rgb, true, false}, kGlueComposite});
    list.push_back({"mask-rgb8", {280, 270, 8, ColourKind::rgb, false, true}});
    list.push_back({"mask-transparency-rgb16-color", {280, 270, 16, ColourKind::rgb, true, true}, kGlueColor});
    return list;
}

std::map<std::string, std::string> read_golden(const char* path) {
    std::map<std::string, std::string> golden;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, hash;
        if (line.empty() || line[0] == '#' || !(fields >> name >> hash)) continue;
        golden[name] = hash;
    }
    return golden;
}

hosting::Document run_at(const Scenario& s, int32_t threads) {
    set_processor_override(threads);
    hosting::Host host(test_picture(s.shape));
    EXPECT_EQ(silent_start(host, s.glue).result, 0) << s.name;
    set_processor_override(0);
    return host.document();
}

TEST(GoldenDocuments, WholeDocumentsAfterASilentStartAtOneAndManyThreads) {
    const std::map<std::string, std::string> golden = read_golden(CORVANTHE_GOLDEN_FILE);
    const bool update = std::getenv("CORVANTHE_UPDATE_GOLDEN") != nullptr;
    std::map<std::string, std::string> computed;
    std::ostringstream rewritten;
    rewritten << "# Hashes of whole documents after a silent Start (tests/glue/golden_documents_test.cpp).\n";
    for (const Scenario& s : scenarios()) {
        const hosting::Document one = run_at(s, 1);
        const hosting::Document many = run_at(s, 4);
        EXPECT_TRUE(one.pixels == many.pixels) << s.name << ": one thread and four threads differ";
        const std::string hash = document_hash(one);
        computed[s.name] = hash;
        rewritten << s.name << ' ' << hash << '\n';
        if (update) continue;
        const auto found = golden.find(s.name);
        if (found == golden.end())
            ADD_FAILURE() << s.name << ": no golden hash (computed " << hash << ")";
        else
            EXPECT_EQ(found->second, hash) << s.name;
    }
    // The defaults glue with "normal", and "difference" is "exclusion" by another name.
    EXPECT_EQ(computed["default-rgb8"], computed["glue01-rgb8"]);
    EXPECT_EQ(computed["glue04-rgb8"], computed["glue15-rgb8"]);
    if (update) std::ofstream(CORVANTHE_GOLDEN_FILE) << rewritten.str();
}

}  // namespace
}  // namespace corvanthe::testing
