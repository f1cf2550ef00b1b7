// The GPU timestamp ring never reading a stamp that is not available, and pass names taken
// from the files their programs were built from.
#include <gtest/gtest.h>

#include <map>

#include "render/embedded_shaders.h"
#include "timing/pass_names.h"
#include "timing/timer_ring.h"

namespace {

// Stamps become available in the order they were made, up to `ready`; reading one that is not
// available is a failure.
class FakeQueries : public QueryBackend {
 public:
  uint32_t create() override { return ++created; }
  void stamp(uint32_t query) override {
    stamps[query] = clock;
    order.push_back(query);
  }
  bool available(uint32_t query) override {
    for (size_t i = 0; i < ready && i < order.size(); ++i)
      if (order[i] == query) return true;
    return false;
  }
  uint64_t nanoseconds(uint32_t query) override {
    if (!available(query)) ADD_FAILURE() << "read query " << query << " before it was available";
    ++reads;
    return stamps[query];
  }

  uint32_t created = 0;
  uint64_t clock = 0;
  size_t ready = 0;
  int reads = 0;
  std::map<uint32_t, uint64_t> stamps;
  std::vector<uint32_t> order;
};

// One frame: a scene pass of `sceneMs` and a bloom pass of `bloomMs`, starting at `startMs`.
void recordFrame(TimerRing& ring, FakeQueries& gpu, double startMs, double sceneMs, double bloomMs) {
  ring.beginFrame();
  gpu.clock = static_cast<uint64_t>(startMs * 1e6);
  ring.markPass("scene", true);
  gpu.clock += static_cast<uint64_t>(sceneMs * 1e6);
  ring.markPass("scene", false);
  gpu.clock += 100000;  // a gap between passes belongs to no pass
  ring.markPass("bloom", true);
  gpu.clock += static_cast<uint64_t>(bloomMs * 1e6);
  ring.markPass("bloom", false);
  ring.endFrame();
}

}  // namespace

TEST(TimerRing, ReadsNothingUntilAFramesStampsAreAllAvailable) {
  FakeQueries gpu;
  TimerRing ring(gpu, 3);
  recordFrame(ring, gpu, 0.0, 2.0, 0.5);
  gpu.ready = 3;  // three of the frame's four stamps
  recordFrame(ring, gpu, 20.0, 4.0, 1.0);
  EXPECT_EQ(gpu.reads, 0);
  EXPECT_TRUE(ring.latest().empty());

  gpu.ready = 4;
  ring.collect();
  ASSERT_EQ(ring.latest().size(), 2u);
  EXPECT_EQ(ring.latest()[0].name, "scene");
  EXPECT_NEAR(ring.latest()[0].milliseconds, 2.0, 1e-9);
  EXPECT_NEAR(ring.latest()[1].milliseconds, 0.5, 1e-9);
  EXPECT_EQ(ring.latestFrame(), 0);
}

TEST(TimerRing, AFullRingSkipsFramesInsteadOfWaiting) {
  FakeQueries gpu;
  TimerRing ring(gpu, 3);
  for (int frame = 0; frame < 5; ++frame) recordFrame(ring, gpu, frame * 20.0, 2.0 + frame, 0.5);
  EXPECT_EQ(ring.skippedFrames(), 2);
  EXPECT_EQ(gpu.created, 12u) << "a skipped frame stamps nothing";
  EXPECT_EQ(gpu.reads, 0);

  gpu.ready = gpu.order.size();
  ring.collect();
  EXPECT_EQ(ring.latestFrame(), 2) << "the newest measured frame wins";
  EXPECT_NEAR(ring.latest()[0].milliseconds, 4.0, 1e-9);
  recordFrame(ring, gpu, 200.0, 7.0, 0.5);
  EXPECT_EQ(gpu.created, 12u) << "the freed slots reuse their queries";
}

TEST(PassNames, PostPassesAreNamedAfterTheirFile) {
  ProgramNames names;
  const std::string path = "./shaders/postprocessors/bloom.glsl";
  names.note({7, 0, 0, 0, true, &path}, 7);
  EXPECT_EQ(names.passName(PassKind::Post, 7), "bloom");
  const std::string* embedded = findEmbeddedShader("./shaders/postprocessors/crt.glsl");
  ASSERT_NE(embedded, nullptr);
  names.note({8, 0, 0, 0, false, embedded}, 8);
  EXPECT_EQ(names.passName(PassKind::Post, 8), "crt");
  const std::string assembled = "#version 330 core\nvoid main() {}\n";
  names.note({9, 0, 0, 0, false, &assembled}, 9);
  EXPECT_EQ(names.passName(PassKind::Post, 9), "post");
  // A failed rebuild that kept another program does not rename that program.
  const std::string other = "./shaders/postprocessors/fxaa.glsl";
  names.note({10, 0, 0, 0, true, &other}, 7);
  EXPECT_EQ(names.passName(PassKind::Post, 7), "bloom");
}
