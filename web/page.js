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
// simulator's trace of every frame.
Module['pageOptions'] = (function () {
  var query = new URLSearchParams(location.search);
  var seed = parseInt(query.get('seed'), 10);
  return {
    seed: seed >= 0 && seed <= 0x7fffffff ? seed : -1,
    undying: query.has('undying'),
    trace: query.has('trace'),
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
  })).then(function () { Module['_page_start'](); });
};
