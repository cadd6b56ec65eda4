// The program's side of the page, run inside the program's module before it starts: its file
// system (the shipped files under /zintrel, the player's home kept in the browser's IndexedDB and
// written back whenever the game writes a file there), its environment, and the hooks through
// which the page hands it dropped files and learns of screenshots. Under Node the same program
// runs headless, with the host's files under /host.

var zintrelInNode = typeof process == "object" && typeof process.versions == "object" &&
    typeof process.versions.node == "string";
var zintrelHome = "/home/web_user";

Module["preRun"] = Module["preRun"] || [];
Module["preRun"].push(function() {
  FS.mkdirTree("/zintrel/bin");
  FS.mkdirTree("/tmp/drops");
  FS.mkdirTree(zintrelHome);
  // The program's folder: the shipped files are in ../share/zintrel, as an install has them.
  FS.chdir("/zintrel/bin");
  ENV["ZINTREL_NO_DIALOGS"] = "1";
  if (zintrelInNode) {
    FS.mkdir("/host");
    FS.mount(NODEFS, {root: "/"}, "/host");
    ["SDL_VIDEODRIVER", "ZINTREL_NO_DIALOGS"].forEach(function(name) {
      if (process.env[name] !== undefined) {
        ENV[name] = process.env[name];
      }
    });
    zintrelNodeStandIns();
    return;
  }
  zintrelKeepHome();
});

// Node has no Web Audio, and SDL's own silent driver needs threads this build has not: SDL's
// audio opens on a context whose processor is never asked for sound. Nor has Node a navigator
// with gamepads: SDL finds none.
function zintrelNodeStandIns() {
  if (typeof navigator == "undefined") {
    globalThis.navigator = {};
  }
  globalThis.AudioContext = function() {
    this.sampleRate = 44100;
    this.state = "running";
    this.destination = {};
  };
  AudioContext.prototype.createScriptProcessor = function() {
    return {connect: function() {}, disconnect: function() {}};
  };
  AudioContext.prototype.close = function() {};
  autoResumeAudioContext = function() {};
}

// The page's hooks, which it sets before the program starts; each may be missing.
function zintrelTell(hook, value) {
  if (typeof Module[hook] == "function") {
    Module[hook](value);
  }
}

// The player's home in IndexedDB: read before the program starts; written back after every file
// the game writes there, when it is closed or renamed (the Hall of Fame and the settings are
// written whole into a new file that then takes the old one's name). Storage that is refused or
// full is said once, and the game plays on with what it has in memory.
function zintrelKeepHome() {
  var told = false;
  function problem(error) {
    if (!told) {
      told = true;
      zintrelTell("zintrelStorageRefused", String(error && error.message || error));
    }
  }
  var writing = false;
  var again = false;
  var waiting = [];
  // Writes the home back; `done`, when given, is called once a write begun after this call ends.
  function write(done) {
    if (typeof done == "function") {
      waiting.push(done);
    }
    if (writing) {
      again = true;
      return;
    }
    writing = true;
    var ending = waiting;
    waiting = [];
    FS.syncfs(false, function(error) {
      writing = false;
      if (error) {
        problem(error);
      }
      ending.forEach(function(callback) {
        callback();
      });
      if (again || waiting.length) {
        again = false;
        write();
      }
    });
  }
  function changed(path) {
    if (path.indexOf(zintrelHome + "/") != 0) {
      return;
    }
    if (/\.png$/i.test(path)) {
      zintrelTell("zintrelScreenshot", path);
    }
    if (!/\.new$/.test(path)) {
      write();
    }
  }
  // Once the home is read, every file written there goes back.
  function watch() {
    var close = FS.close;
    FS.close = function(stream) {
      // Only a file opened for writing has changed.
      var written = stream.path && (stream.flags & 3) != 0;
      close(stream);
      if (written) {
        changed(stream.path);
      }
    };
    var rename = FS.rename;
    FS.rename = function(from, to) {
      rename(from, to);
      changed(to);
    };
  }
  try {
    FS.mount(IDBFS, {}, zintrelHome);
  } catch (error) {
    problem(error);
    return;
  }
  addRunDependency("zintrel-home");
  FS.syncfs(true, function(error) {
    if (error) {
      problem(error);
    }
    zintrelDefaultSettings();
    watch();
    removeRunDependency("zintrel-home");
  });
  Module["zintrelWriteHome"] = write;
}

// In the page, the game starts in the page; full screen is a button or Alt+Enter away.
function zintrelDefaultSettings() {
  var folder = zintrelHome + "/.config/zintrel";
  if (!FS.analyzePath(folder + "/zintrel.conf").exists) {
    FS.mkdirTree(folder);
    FS.writeFile(folder + "/zintrel.conf", "fullscreen = no\ndisplay = 0\n");
  }
}

// A file a player dropped: put down for the program, which judges it at its next pass.
Module["zintrelDrop"] = function(name, bytes) {
  FS.writeFile("/tmp/drops/" + name, bytes);
  (Module["zintrelDropped"] = Module["zintrelDropped"] || []).push(name);
};

Module["zintrelReadFile"] = function(path) {
  return FS.analyzePath(path).exists ? FS.readFile(path) : null;
};

Module["zintrelListFolder"] = function(path) {
  return FS.analyzePath(path).exists ? FS.readdir(path).filter(function(name) {
    return name != "." && name != "..";
  }) : [];
};

Module["zintrelWriteFile"] = function(path, bytes) {
  FS.mkdirTree(path.replace(/\/[^\/]*$/, ""));
  FS.writeFile(path, bytes);
};
