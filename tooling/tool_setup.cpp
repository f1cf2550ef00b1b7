// Shared tool start-up.
#include "tooling/tool_setup.h"

#include "app/options.h"
#include "render/display_settings.h"
#include "render/shared_uniforms.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_parts.h"

void applyToolSizes(int quality, int renderSize, int windowWidth, int windowHeight) {
  settings.windowed = true;
  settings.quality = qualityCopy = quality;
  const SizeWH render = renderSizeForQuality(quality);
  settings.renderWidth = renderSize ? renderSize : render.width;
  settings.renderHeight = renderSize ? renderSize : render.height;
  settings.windowWidth = windowWidth;
  settings.windowHeight = windowHeight;
}

void prepareToolTimeline() {
  sharedUniforms.dof1 = 3.0f;
  sharedUniforms.dof2 = 9.0f;
  sharedUniforms.dof3 = 15.0f;
  sharedUniforms.apply_dof = true;
  sharedUniforms.mouse = {-1.0f, -1.0f};
  buildBeatSyncList();
  registerBeatSyncCallback(beatSyncHandler);
  buildDemoTimeline();
}
