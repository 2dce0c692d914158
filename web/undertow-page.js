// Runs the program on the page: its files and its code first, then main with the arguments the
// address gives. Each key of the address's query becomes an option (?start=121&paused is
// --start 121 --paused). The program's output lines go to the console and to
// undertow.onOutput; undertow.onExit(code) learns when the run has ended, and
// undertow.onPhase(phase, seconds) what the run is doing while it goes on.
'use strict';

const undertow = {
  filesUrl: 'undertow-files.tar.gz',
  wasmUrl: 'undertow.wasm.gz',
  programUrl: 'undertow.js',
  onOutput: null,   // function(line, isError)
  onExit: null,     // function(exitCode)
  onProgress: null, // function(loadedBytes, totalBytes) over everything fetched so far
  onStarted: null,  // function(): the program's main has begun (its loading screen is next)
  onPhase: null,    // function(phase, seconds) whenever either changes
  progress: {},     // url: [loaded, total]
  ended: false,     // the run has ended
  running: false,   // main has begun and the run has not ended
  // The run's phases, as the program numbers them (platform/run_state.h).
  phases: ['loading', 'catching-up', 'playing', 'paused', 'ended'],
};

// The address options the page passes on: the keys of the command line's options that make
// sense in a page, and whether each takes a value.
const undertowAddressOptions = {
  start: true, paused: false, loop: false, stats: false, detail: true, benchmark: false, frames: true,
  fps: true, scale: true, 'max-fps': true, 'check-gl': false,
};

// The program's arguments for an address query, or throws an Error whose message is the one
// line the page shows.
function undertowArguments(search) {
  const args = ['--windowed'];
  const known = Object.keys(undertowAddressOptions);
  for (const [key, value] of new URLSearchParams(search)) {
    if (!(key in undertowAddressOptions)) {
      throw new Error('The address option "' + key + '" is not one of the page\'s: it takes ' +
                      known.slice(0, -1).join(', ') + ' and ' + known[known.length - 1] + '.');
    }
    if (args.includes('--' + key)) throw new Error('The address gives "' + key + '" twice.');
    const takesValue = undertowAddressOptions[key];
    if (takesValue && value === '') throw new Error('The address option "' + key + '" needs a value, as in ?' + key + '=N.');
    if (!takesValue && value !== '') throw new Error('The address option "' + key + '" takes no value: ?' + key + ' alone.');
    args.push('--' + key);
    if (takesValue) args.push(value);
  }
  return args;
}

// The program's one-line complaint about its arguments in the address's words:
// "--detail takes 0, 1 or 2, not '7'" becomes "detail takes 0, 1 or 2, not '7'".
function undertowAddressWords(line) {
  return line.replace(/^undertow: /, '').replace(/ \(undertow --help lists the options\)$/, '')
    .replace(/--([a-z][a-z-]*)/g, '$1');
}

function undertowOutput(line, isError) {
  console.log(line);
  if (undertow.onOutput) undertow.onOutput(line, isError);
}

// Fetches a gzip-compressed file, counting its bytes into the page's progress.
function undertowFetch(url) {
  return undertowFetchGzip(url, (loaded, total) => {
    undertow.progress[url] = [loaded, total];
    let allLoaded = 0, allTotal = 0;
    for (const [l, t] of Object.values(undertow.progress)) {
      allLoaded += l;
      allTotal += t;
    }
    if (undertow.onProgress) undertow.onProgress(allLoaded, allTotal);
  });
}

function undertowFailed(what, error) {
  undertowOutput('undertow: cannot load ' + what + ': ' + (error.message || error), true);
  if (undertow.onExit && !undertow.ended) {
    undertow.ended = true;
    undertow.onExit(1);
  }
}

// Calls one of the program's exported functions while the run goes on; undefined otherwise.
function undertowCall(name, ...args) {
  if (!undertow.running || typeof Module === 'undefined' || !Module['_' + name]) return undefined;
  return Module['_' + name](...args);
}

// Space's message: pause, or play on.
function undertowPauseOrPlay() { undertowCall('undertow_pause_or_play'); }
// A seek to `seconds` of the demo, as the seek keys make one.
function undertowSeekTo(seconds) { undertowCall('undertow_seek_to', seconds); }
// Where the music is, in seconds (negative when none is open).
function undertowMusicSeconds() { return undertowCall('undertow_music_seconds'); }
// The browser's audio output that the program plays through, once it is open.
function undertowAudioContext() {
  return typeof Module !== 'undefined' && Module.SDL2 ? Module.SDL2.audioContext : undefined;
}

// Follows the run's phase once per animation frame, telling undertow.onPhase of each change.
function undertowWatchPhase() {
  let phase = -1, seconds = -1;
  const look = () => {
    if (!undertow.running) return;
    const nowPhase = undertowCall('undertow_phase');
    const nowSeconds = undertowCall('undertow_seconds');
    if (nowPhase !== phase || nowSeconds !== seconds) {
      phase = nowPhase;
      seconds = nowSeconds;
      if (undertow.onPhase) undertow.onPhase(undertow.phases[phase], seconds);
    }
    requestAnimationFrame(look);
  };
  requestAnimationFrame(look);
}

// Starts the program with `args` on the page's canvas.
function undertowRun(args) {
  window.Module = {
    canvas: document.getElementById('canvas'),
    arguments: args,
    print: (line) => undertowOutput(line, false),
    printErr: (line) => undertowOutput(line, true),
    onRuntimeInitialized: () => {
      undertow.running = true;
      if (undertow.onStarted) undertow.onStarted();
      undertowWatchPhase();
    },
    // Emscripten may report the end more than once (after the last frame and again as that
    // frame returns): the page hears it once.
    onExit: (code) => {
      undertow.running = false;
      if (undertow.ended) return;
      undertow.ended = true;
      console.log('undertow: the run ended with exit code ' + code);
      if (undertow.onExit) undertow.onExit(code);
    },
    // The code travels compressed too; it is compiled once inflated.
    instantiateWasm: (imports, receive) => {
      undertowFetch(undertow.wasmUrl)
        .then((bytes) => WebAssembly.instantiate(bytes, imports))
        .then((result) => receive(result.instance, result.module), (error) => undertowFailed('the program', error));
      return {};
    },
    preRun: [() => {
      Module.addRunDependency('undertow-files');
      undertowFetch(undertow.filesUrl).then((bytes) => {
        undertowWriteFiles(FS, '/', undertowUntar(bytes));
        return true;
      }, (error) => {
        undertowFailed('the files', error);
        return false;
      }).then((loaded) => {
        if (loaded) Module.removeRunDependency('undertow-files');
      });
    }],
  };
  const script = document.createElement('script');
  script.src = undertow.programUrl;
  script.onerror = () => undertowFailed('the program', new Error(undertow.programUrl + ' could not be fetched'));
  document.body.appendChild(script);
}
