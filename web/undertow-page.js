// Runs the program on the page: its files and its code first, then main with the arguments the
// address gives. Each key of the address's query becomes an option (?start=121&paused is
// --start 121 --paused). The program's output lines go to the console and to
// undertow.onOutput; undertow.onExit(code) learns when the run has ended.
'use strict';

const undertow = {
  filesUrl: 'undertow-files.tar.gz',
  wasmUrl: 'undertow.wasm.gz',
  onOutput: null,   // function(line, isError)
  onExit: null,     // function(exitCode)
  onProgress: null, // function(loadedBytes, totalBytes) over everything fetched so far
  progress: {},     // url: [loaded, total]
  ended: false,     // the run has ended
};

// The program's arguments for an address query.
function undertowArguments(search) {
  const args = ['--windowed'];
  for (const [key, value] of new URLSearchParams(search)) {
    args.push('--' + key);
    if (value !== '') args.push(value);
  }
  return args;
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
}

var Module = {
  canvas: document.getElementById('canvas'),
  arguments: undertowArguments(location.search),
  print: (line) => undertowOutput(line, false),
  printErr: (line) => undertowOutput(line, true),
  // Emscripten may report the end more than once (after the last frame and again as that frame
  // returns): the page hears it once.
  onExit: (code) => {
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
