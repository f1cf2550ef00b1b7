// The GL half of start-up and of every frame: shared render targets, the SoundTexture
// upload and the dispatch to the active scene.
#pragma once

// Loads the pack textures, creates the three render targets with their framebuffers and the
// SoundTexture, in the fixed start-up order.
void createFrameResources();

// The live frame step: spectrum from the playing stream, the timeline work, the SoundTexture
// upload and the active scene's render into the window.
void frameStep();

// How a frame that is only simulated runs its scene: `advance` (CPU work only, the default) or
// the whole `render` with rasterisation off, the slow reference that advance must match.
// Owns: simulationPath (writer: the offline renderer's start-up, from its options).
enum class SimulationPath { advance, renderDiscarded };
extern SimulationPath simulationPath;

// The same for a spectrum the caller has already put into spectrum.raw (offline rendering);
// with draw false only the CPU-side effects run.
void frameStepWithSpectrum(bool spectrumOk, bool draw);
