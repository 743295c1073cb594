// The page's side of the game, run before the game's module starts: the canvas, the line under
// it, the data files fetched into the module's file system, and the figures of every frame for
// whoever watches the page (its tests and benchmarks).
Module['canvas'] = document.getElementById('canvas');

Module['showLine'] = function (text) {
  var line = document.getElementById('line');
  line.textContent = text;
  line.hidden = !text;
};

// ?seed=N fixes the random seed, ?undying keeps the player's health up, ?trace keeps the
// simulator's trace of every frame, ?record records the game as a demo (Module.demo()).
Module['pageOptions'] = (function () {
  var query = new URLSearchParams(location.search);
  var seed = parseInt(query.get('seed'), 10);
  return {
    seed: seed >= 0 && seed <= 0x7fffffff ? seed : -1,
    undying: query.has('undying'),
    trace: query.has('trace'),
    record: query.has('record'),
  };
})();

// What each frame did: when it started (ms since the page was opened), its own work (us), the
// actors it drew, and its trace line. Kept for the last hour of play at most.
Module['frames'] = { count: 0, start: [], work: [], actors: [], trace: [], first: null };
Module['onFrame'] = function (pass, workUs, actors, line) {
  var f = Module['frames'];
  var now = performance.now();
  if (f.first === null) f.first = now;
  f.count++;
  if (f.start.length < 120000) {
    f.start.push(now);
    f.work.push(workUs);
    f.actors.push(actors);
    if (line) f.trace.push(line);
  }
};

// The demo of the game so far (with ?record): its bytes, or null. The recording ends here.
Module['demo'] = function () {
  if (!Module['_page_demo_finish']()) return null;
  var bytes = FS.readFile('/page.demo');
  FS.unlink('/page.demo');
  return bytes;
};

Module['print'] = function (text) { console.log(text); };
Module['printErr'] = function (text) { console.error(text); };
Module['onAbort'] = function (what) {
  Module['showLine']('Ashfallow stopped: ' + what + ' - reload to play again');
};

// Fetches every data file the game reads into /data, then starts the game. A file that cannot
// be fetched is simply not there: the game says so on the console and plays on without it, as
// it does natively.
Module['fetchData'] = function (names) {
  FS.mkdir('/data');
  Promise.all(names.map(function (name) {
    return fetch('data/' + encodeURIComponent(name))
      .then(function (response) { return response.ok ? response.arrayBuffer() : null; })
      .catch(function () { return null; })
      .then(function (bytes) {
        if (bytes) FS.writeFile('/data/' + name, new Uint8Array(bytes));
      });
  })).then(function () {
    Module['_page_start']();
    Module['music'].gameStarted = true;
    Module['music'].tellLength();
  });
};

// The page's sound. It may only start on a gesture: until the player's first key press a line
// says so. The effects play on the OpenAL context the game opens then; everything the page
// plays goes through its one mix node, which whoever listens to the page (its tests) can tap:
// Module.audio is set and an 'ashfallow-audio' event is sent the moment the sound starts.
Module['showSoundLine'] = function (shown) {
  document.getElementById('sound').hidden = !shown;
};

Module['startAudio'] = function (context, mix) {
  Module['audio'] = { context: context, mix: mix, played: [] };
  window.dispatchEvent(new Event('ashfallow-audio'));
  Module['music'].start(context, mix);
};

// Each sound the game starts once the sound is on: the audio clock's time then, the frame
// that started it, its length in samples and its volume in hundredths of a decibel.
Module['soundPlayed'] = function (time, bytes, volume) {
  Module['audio']['played'].push({ time: time, frame: Module['frames'] ? Module['frames'].count : -1,
                                   bytes: bytes, volume: volume });
};

// The music: the game's piece as the native synthesizer plays it, rendered when the page was
// built (MIDIFILE9.ogg) and decoded here. The game says when it plays and from where; a piece
// not yet decoded starts, when it is, where the game's music has got to by then.
Module['music'] = {
  buffer: null, context: null, mix: null, node: null, wanted: null, gameStarted: false,
  started: null,
  // The game's music lasts as long as the rendered piece, once both are there.
  tellLength: function () {
    if (this.gameStarted && this.buffer) Module['_web_music_rendered'](this.buffer.duration * 1e6);
  },
  start: function (context, mix) {
    this.context = context;
    this.mix = mix;
    if (this.wanted) this.play();
  },
  set: function (playing, seconds) {
    this.wanted = playing ? { seconds: seconds, since: performance.now() } : null;
    this.play();
  },
  play: function () {
    if (this.node) {
      try { this.node.stop(); } catch (e) { /* never started */ }
      this.node.disconnect();
      this.node = null;
    }
    if (!this.wanted || !this.buffer || !this.context) return;
    var at = this.wanted.seconds + (performance.now() - this.wanted.since) / 1000;
    if (at >= this.buffer.duration) return;
    try {
      var node = this.context.createBufferSource();
      node.buffer = this.buffer;
      node.connect(this.mix);
      node.start(0, at);
      this.node = node;
      // Where the piece stood on the audio clock, for whoever compares what the page played.
      this.started = { time: this.context.currentTime, at: at };
    } catch (e) {
      console.log('Ashfallow: the music cannot play here (' + e + ')');
    }
  },
};

// Fetched and decoded while the game starts: a page that cannot (no WebAudio, no file) plays on
// without music.
(function () {
  var Decoder = window.OfflineAudioContext || window.webkitOfflineAudioContext;
  if (!Decoder) return;
  fetch('data/MIDIFILE9.ogg')
    .then(function (response) { return response.ok ? response.arrayBuffer() : null; })
    .then(function (bytes) {
      if (!bytes) throw new Error('data/MIDIFILE9.ogg is missing');
      return new Decoder(2, 1, 44100).decodeAudioData(bytes);
    })
    .then(function (buffer) {
      var music = Module['music'];
      music.buffer = buffer;
      music.tellLength();
      music.play();
    })
    .catch(function (e) { console.log('Ashfallow: no music (' + e + ')'); });
})();
