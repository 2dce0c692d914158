// The page around the program: the download's progress, the Play button where the browser
// holds sound back until a click, Play again at the end of the timeline, full screen, the help
// panel and the one line that says why a run could not start.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const loading = $('loading');
  const message = $('message');
  const play = $('play');
  const again = $('again');
  const help = $('help');
  const helpButton = $('help-button');
  const opened = performance.now();
  let benchmark = false;
  let waitingForPlay = false;   // the run opens paused until the Play button's click
  let firstPicture = false;
  let lastError = '';
  const results = [];           // the program's standard output, for --benchmark's table

  // One readable line over the black, instead of the picture.
  function say(text, withDownloads) {
    loading.hidden = true;
    play.hidden = true;
    again.hidden = true;
    message.textContent = text;
    if (withDownloads) {
      const link = document.createElement('a');
      link.href = '#downloads';
      link.textContent = 'Downloads for Linux and Windows';
      link.addEventListener('click', (event) => {
        event.preventDefault();
        showHelp(true);
      });
      message.append(document.createElement('br'), link);
    }
    message.hidden = false;
  }

  function webgl2() {
    try {
      return !!document.createElement('canvas').getContext('webgl2');
    } catch (error) {
      return false;
    }
  }

  // Whether the browser lets a page start sound before a click or a key.
  function soundAllowed() {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return true;   // no sound at all: nothing to wait for
    try {
      const context = new Context();
      const running = context.state === 'running';
      context.close();
      return running;
    } catch (error) {
      return false;
    }
  }

  // The picture drawn at the resolution the screen shows it at, in full screen: --scale N
  // draws it at N x 640 by N x 480.
  function pictureScale() {
    const ratio = window.devicePixelRatio || 1;
    const width = screen.width * ratio, height = screen.height * ratio;
    const shown = Math.min(height, width * 3 / 4);
    return Math.max(1, Math.min(4, Math.round(shown / 480)));
  }

  function toggleFullScreen() {
    const root = document.documentElement;
    if (document.fullscreenElement || document.webkitFullscreenElement) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    } else if (root.requestFullscreen) {
      root.requestFullscreen().catch(() => {});
    } else if (root.webkitRequestFullscreen) {
      root.webkitRequestFullscreen();
    }
  }

  function showHelp(shown) {
    help.hidden = !shown;
    helpButton.setAttribute('aria-expanded', String(shown));
  }

  // The corner's buttons fade while the pointer rests, so the picture keeps the whole window.
  let idleTimer = 0;
  function wake() {
    document.body.classList.remove('idle');
    clearTimeout(idleTimer);
    idleTimer = setTimeout(() => document.body.classList.add('idle'), 2500);
  }

  // A click must not leave the button focused: Space would press it again.
  function onClick(button, action) {
    button.addEventListener('click', (event) => {
      button.blur();
      action(event);
    });
  }

  onClick(helpButton, () => showHelp(help.hidden));
  onClick($('fullscreen'), toggleFullScreen);
  onClick(play, () => {
    const audio = undertowAudioContext();
    if (audio && audio.state !== 'running') audio.resume();
    play.hidden = true;
    waitingForPlay = false;
    undertowPauseOrPlay();
  });
  onClick(again, () => {
    again.hidden = true;
    if (undertow.running) undertowSeekTo(0);
    else location.reload();   // the run itself has ended: start the page again
  });
  canvas.addEventListener('dblclick', toggleFullScreen);
  canvas.addEventListener('click', () => showHelp(false));
  document.addEventListener('pointermove', wake);
  document.addEventListener('pointerdown', wake);

  // Keys the page keeps from the program: Escape, function keys and shortcuts are the
  // browser's (Escape leaves full screen, F5 reloads); F is full screen. Taken before the
  // program's own listener sees them.
  const browserKey = (event) => event.key === 'Escape' || /^F\d+$/.test(event.key) || event.ctrlKey ||
    event.altKey || event.metaKey;
  window.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') {
      // Browsers leave full screen on Escape themselves; where the key reaches the page, so does it.
      showHelp(false);
      if (document.fullscreenElement || document.webkitFullscreenElement) toggleFullScreen();
    }
    if (browserKey(event)) {
      event.stopPropagation();
    } else if (event.key === 'f' || event.key === 'F') {
      event.stopPropagation();
      event.preventDefault();
      if (!event.repeat) toggleFullScreen();
    }
  }, true);
  window.addEventListener('keyup', (event) => {
    if (browserKey(event) || event.key === 'f' || event.key === 'F') event.stopPropagation();
  }, true);

  undertow.onProgress = (loaded, total) => {
    const mb = (n) => (n / 1048576).toFixed(1);
    $('loading-text').textContent = total ? 'Loading ' + mb(loaded) + ' of ' + mb(total) + ' MB' : 'Loading ' + mb(loaded) + ' MB';
    $('loading-fill').style.width = total ? (100 * Math.min(1, loaded / total)).toFixed(1) + '%' : '0';
  };
  undertow.onStarted = () => { loading.hidden = true; };
  undertow.onOutput = (line, isError) => {
    if (isError) lastError = line;
    else if (benchmark) results.push(line);
  };
  undertow.onPhase = (phase, seconds) => {
    if (!firstPicture && (phase === 'playing' || phase === 'paused')) {
      firstPicture = true;
      console.log('undertow: the first picture ' + ((performance.now() - opened) / 1000).toFixed(2) +
                  ' s after the page was opened, at ' + seconds.toFixed(2) + ' s of the demo');
    }
    play.hidden = !(waitingForPlay && phase === 'paused');
    if (phase === 'playing') waitingForPlay = false;
    again.hidden = phase !== 'ended';
  };
  undertow.onExit = (code) => {
    if (code === 0 && benchmark && results.length) {
      say('');
      const table = document.createElement('pre');
      table.textContent = results.join('\n');
      message.replaceChildren(table);
      return;
    }
    if (code === 0) {
      say('The run has ended.');
      again.hidden = false;
      return;
    }
    if (/ \(undertow --help lists the options\)$/.test(lastError)) {
      say('In the address: ' + undertowAddressWords(lastError) + '.');
      return;
    }
    const why = lastError.replace(/^undertow: /, '') || 'the run ended with exit code ' + code;
    say(why.charAt(0).toUpperCase() + why.slice(1) + '.', true);
  };

  // SDL names the page after the program's window; the page keeps its own name.
  const title = document.title;
  new MutationObserver(() => {
    if (document.title !== title) document.title = title;
  }).observe(document.querySelector('title'), { childList: true, characterData: true, subtree: true });

  wake();
  if (!webgl2()) {
    say('Undertow needs WebGL 2, which this browser does not offer or has turned off. ' +
        'It also runs on Linux and Windows.', true);
    return;
  }
  let args;
  try {
    args = undertowArguments(location.search);
  } catch (error) {
    say(error.message);
    return;
  }
  benchmark = args.includes('--benchmark');
  // Where sound must wait for a click, the run opens paused on its first picture and the Play
  // button starts picture and music together. A measured run has neither.
  const virtualClock = benchmark;
  if (!virtualClock && !soundAllowed()) {
    waitingForPlay = true;
    if (!args.includes('--paused')) args.push('--paused');
  }
  if (!args.includes('--scale')) args.push('--scale', String(pictureScale()));
  undertowRun(args);
})();
