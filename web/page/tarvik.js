// The browser twin's page logic: checks WebGL2, downloads the pack and the music with a
// progress bar, decodes the music with Web Audio at 44100 Hz, starts the module and hands it
// both, then runs what the address asks for:
//   ?still=T&size=WxH&quality=Q  the frame at song time T, no sound, the canvas alone at W x H;
//   ?bench=1&quality=Q&size=WxH  tarvik-render --bench's table (&frames=N measured per part, 10
//                                unless given), in the page and on the console, no sound;
//   ?autostart=1&quality=Q       the demo at once (where the browser lets sound start);
//   otherwise                    the demo after the start button (a gesture, for the sound).
// body.dataset.state tells a test where the page stands: "loading", "ready", "playing",
// "ended", "drawn", "measuring", "measured", "error" (the sentence in body.dataset.error) or
// "unsupported".
'use strict';

(function () {
  const params = new URLSearchParams(location.search);
  const body = document.body;
  const canvas = document.getElementById('canvas');
  const panel = document.getElementById('panel');
  const message = document.getElementById('message');
  const bar = document.querySelector('#bar > div');
  const startButton = document.getElementById('start');
  const qualitySelect = document.getElementById('quality');
  const qualityIndex = { low: 0, medium: 1, high: 2 };
  const musicRate = 44100;  // the desktop's decoding rate, so both analyse the same samples

  function say(sentence) {
    message.textContent = sentence;
    console.log('tarvik: ' + sentence);
  }

  function fail(sentence, state) {
    panel.classList.remove('hidden');
    for (const id of ['bar', 'choice', 'start']) document.getElementById(id).classList.add('hidden');
    say(sentence);
    body.dataset.error = sentence;
    body.dataset.state = state || 'error';
  }

  function webgl2Problem() {
    const gl = document.createElement('canvas').getContext('webgl2');
    if (!gl) return 'This browser has no WebGL2, which the demo needs.';
    if (!gl.getExtension('EXT_color_buffer_float'))
      return "This browser's WebGL2 cannot render into float textures, which the demo needs.";
    return '';
  }

  // The whole file, with its share of the bar; a failed or short download names the file.
  async function download(name, share, done) {
    const response = await fetch(name).catch(() => null);
    if (!response || !response.ok) throw new Error('The file ' + name + ' could not be downloaded.');
    const expected = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader();
    const chunks = [];
    let received = 0;
    for (;;) {
      const part = await reader.read().catch(() => null);
      if (!part) throw new Error('The download of ' + name + ' broke off.');
      if (part.done) break;
      chunks.push(part.value);
      received += part.value.length;
      if (expected) bar.style.width = (100 * (done + share * Math.min(1, received / expected))) + '%';
    }
    if (expected && received !== expected) throw new Error('The download of ' + name + ' came back truncated.');
    const bytes = new Uint8Array(received);
    let at = 0;
    for (const chunk of chunks) { bytes.set(chunk, at); at += chunk.length; }
    return bytes;
  }

  async function decodeMusic(bytes) {
    const context = new OfflineAudioContext(2, 1, musicRate);
    const buffer = await context.decodeAudioData(bytes.buffer.slice(0)).catch(() => null);
    if (!buffer) throw new Error('The music file music/tarvik.mp3 could not be decoded.');
    return buffer;
  }

  // The module's sound (Module.tarvikSound): the decoded track, and its player once a context
  // exists. The position counts on past the track's end, as the desktop's does. A context whose
  // clock stands still (no output device, or one that stopped) would freeze the pictures: after
  // stallSeconds of that the position goes on by the wall clock from where it stood.
  function makeSound(buffer) {
    const left = buffer.getChannelData(0);
    const right = buffer.numberOfChannels > 1 ? buffer.getChannelData(1) : left;
    const stallSeconds = 1;
    let context = null, source = null, startedAt = 0, offset = 0, rate = 1, playing = false;
    let wallStartedAt = 0, onWallClock = false;
    const wallNow = () => performance.now() / 1000;
    function heardSeconds() {
      const wall = wallNow() - wallStartedAt;
      if (onWallClock) return wall;
      const heard = context.currentTime - startedAt;
      if (wall - heard <= stallSeconds) return heard;
      onWallClock = true;
      say('The audio output does not play; the song clock goes on by the wall clock.');
      return wall;
    }
    function stopSource() {
      if (source) { source.onended = null; source.stop(); source.disconnect(); }
      source = null;
    }
    const sound = {
      rate: () => buffer.sampleRate,
      frames: () => buffer.length,
      copyInto(heap, at) {
        for (let i = 0; i < buffer.length; ++i) { heap[at + 2 * i] = left[i]; heap[at + 2 * i + 1] = right[i]; }
      },
      attach(audioContext) { context = audioContext; },
      position() { return playing && context ? offset + heardSeconds() * rate : offset; },
      // The position, and whether it comes from the audio output (not the wall-clock stand-in).
      clock() { return { position: sound.position(), fromAudio: !onWallClock }; },
      play(from, newRate) {
        stopSource();
        offset = from;
        rate = newRate;
        playing = true;
        if (!context) return;
        startedAt = context.currentTime;
        wallStartedAt = wallNow();
        if (from >= buffer.duration) return;
        source = context.createBufferSource();
        source.buffer = buffer;
        source.playbackRate.value = rate;
        source.connect(context.destination);
        source.start(0, from);
      },
      pause() {
        offset = sound.position();
        playing = false;
        stopSource();
      },
      seek(seconds) {
        const was = playing;
        sound.pause();
        offset = seconds;
        if (was) sound.play(seconds, rate);
      },
      setRate(newRate) {
        const at = sound.position();
        if (playing) sound.play(at, newRate); else rate = newRate;
      },
    };
    return sound;
  }

  function sizeFromParam(text) {
    const match = /^(\d{1,5})x(\d{1,5})$/.exec(text || '');
    return match ? [Number(match[1]), Number(match[2])] : null;
  }

  function deviceSize() {
    const ratio = window.devicePixelRatio || 1;
    return [Math.max(1, Math.round(canvas.clientWidth * ratio)), Math.max(1, Math.round(canvas.clientHeight * ratio))];
  }

  async function loadModule() {
    const pack = await download('data.vx', 0.3, 0);
    const mp3 = await download('music/tarvik.mp3', 0.7, 0.3);
    const buffer = await decodeMusic(mp3);
    const module = await createTarvik({
      canvas: canvas,
      print: (line) => console.log(line),
      printErr: (line) => console.log(line),
    });
    module.FS.writeFile('/data.vx', pack);
    module.FS.mkdir('/music');
    module.FS.writeFile('/music/tarvik.mp3', mp3);
    module.tarvikSound = makeSound(buffer);
    module.tarvikCanvasSize = deviceSize;
    return module;
  }

  // The canvas alone at the size the address asks for, in the top-left corner.
  function fixedCanvas() {
    const size = sizeFromParam(params.get('size')) || [320, 180];
    body.classList.add('still');
    panel.classList.add('hidden');
    canvas.style.width = size[0] + 'px';
    canvas.style.height = size[1] + 'px';
    return size;
  }

  function drawStill(module) {
    const time = Number(params.get('still'));
    if (!Number.isFinite(time) || time < 0) return fail('The still time ' + params.get('still') + ' is not a song time.');
    const size = fixedCanvas();
    const quality = qualityIndex[params.get('quality')] ?? 0;
    const problem = module.ccall('tarvik_still', 'string', ['number', 'number', 'number', 'number'],
                                 [time, size[0], size[1], quality]);
    if (problem) return fail(problem);
    body.dataset.state = 'drawn';
  }

  function runBench(module) {
    const frames = Number(params.get('frames') || 10);
    if (!Number.isInteger(frames) || frames < 1 || frames > 1000)
      return fail('The frame count ' + params.get('frames') + ' is not a whole number from 1 to 1000.');
    const size = fixedCanvas();
    const quality = qualityIndex[params.get('quality')] ?? 0;
    const report = document.getElementById('report');
    module.tarvikBenchDone = (table, problem) => {
      if (problem) return fail(problem);
      report.style.top = size[1] + 'px';
      report.textContent = table;
      report.classList.remove('hidden');
      for (const line of table.trimEnd().split('\n')) console.log(line);
      body.dataset.state = 'measured';
    };
    body.dataset.state = 'measuring';
    const problem = module.ccall('tarvik_bench', 'string', ['number', 'number', 'number', 'number'],
                                 [quality, size[0], size[1], frames]);
    if (problem) fail(problem);
  }

  function play(module, quality) {
    const context = new AudioContext({ sampleRate: musicRate });
    context.resume();
    module.tarvikSound.attach(context);
    panel.classList.add('hidden');
    const [width, height] = deviceSize();
    const problem = module.ccall('tarvik_play', 'string', ['number', 'number', 'number'], [quality, width, height]);
    if (problem) return fail(problem);
    body.dataset.state = 'playing';
    module.tarvikEnded = () => {
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
      panel.classList.remove('hidden');
      for (const id of ['bar', 'choice']) document.getElementById(id).classList.add('hidden');
      say('The end.');
      startButton.textContent = 'play again';
      startButton.disabled = false;
      startButton.onclick = () => { panel.classList.add('hidden'); body.dataset.state = 'playing'; module._tarvik_replay(); };
      body.dataset.state = 'ended';
    };
    window.addEventListener('keydown', (event) => { if (event.key === 'Escape') module._tarvik_stop(); });
  }

  async function main() {
    body.dataset.state = 'loading';
    const problem = webgl2Problem();
    if (problem) return fail(problem, 'unsupported');
    let module;
    try {
      module = await loadModule();
    } catch (error) {
      return fail(error.message);
    }
    window.tarvik = {
      songTime: () => module._tarvik_song_time(),
      audioClock: () => module.tarvikSound.clock(),
      partName: () => module.UTF8ToString(module._tarvik_part_name()),
      // The module's memory in bytes: what it reserved (it only grows) and the top of what it used.
      memory: () => ({ reserved: module.HEAP8.length, used: module._tarvik_memory_top() }),
      parts: () => module.UTF8ToString(module._tarvik_parts()).trim().split('\n').map((line) => {
        const [start, end, ...name] = line.split(' ');
        return { start: Number(start), end: Number(end), name: name.join(' ') };
      }),
    };
    if (params.has('still')) return drawStill(module);
    if (params.get('bench') === '1') return runBench(module);
    const named = params.get('quality');
    if (named in qualityIndex) qualitySelect.value = named;
    if (params.get('autostart') === '1') return play(module, qualityIndex[qualitySelect.value]);
    say('Ready.');
    bar.parentElement.classList.add('hidden');
    startButton.disabled = false;
    body.dataset.state = 'ready';
    startButton.onclick = () => {
      document.documentElement.requestFullscreen?.().catch(() => {});
      play(module, qualityIndex[qualitySelect.value]);
    };
  }

  main();
})();
