// The page around the game: it starts the program recording its run (or replaying a record the
// player chose), shows the program's messages, takes dropped files and the page's buttons, and
// covers the game with "Click to start" while the browser holds the sound back.
"use strict";

var Module = (function() {
  var messages = document.getElementById("messages");
  var cover = document.getElementById("cover");
  var canvas = document.getElementById("canvas");
  var record = "/tmp/zintrel.rec";
  var chosen = "/home/web_user/replays/chosen.rec";
  var replaying = new URLSearchParams(location.search).has("replay");
  var ended = false;

  function say(text) {
    var lines = (messages.textContent ? messages.textContent.split("\n") : []).concat([text]);
    messages.textContent = lines.slice(-4).join("\n");
  }

  function download(bytes, name, type) {
    var link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([bytes], {type: type}));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() {
      URL.revokeObjectURL(link.href);
    }, 10000);
  }

  function stamp() {
    return new Date().toISOString().replace(/[-:]/g, "").replace("T", "-").slice(0, 15);
  }

  // The browser may want a gesture before it plays sound: the cover asks for one first. A sound
  // that may play starts at once; one held back waits.
  var probe = window.AudioContext ? new AudioContext() : null;
  function uncover() {
    cover.hidden = true;
    canvas.focus();
  }
  if (probe) {
    setTimeout(function() {
      if (probe.state != "running") {
        cover.hidden = false;
        cover.addEventListener("click", uncover);
        window.addEventListener("keydown", uncover, {once: true});
      }
      probe.close();
    }, 300);
  }

  document.getElementById("fullscreen").addEventListener("click", function() {
    document.getElementById("screen").requestFullscreen().catch(function(error) {
      say("Full screen is not allowed here: " + error.message);
    });
  });

  document.getElementById("record").addEventListener("click", function() {
    var bytes = Module.zintrelReadFile && Module.zintrelReadFile(record);
    if (!bytes) {
      say(replaying ? "A replay makes no record." : "There is no record yet.");
      return;
    }
    download(bytes, "zintrel-" + stamp() + ".rec", "text/plain");
  });

  document.getElementById("replay").addEventListener("change", function(event) {
    var file = event.target.files[0];
    if (!file || !Module.zintrelWriteFile) {
      return;
    }
    file.arrayBuffer().then(function(buffer) {
      Module.zintrelWriteFile(chosen, new Uint8Array(buffer));
      writeHome(function() {
        location.search = "?replay";
      });
    });
  });

  // Writes the player's home back, then goes on; at once where nothing is kept.
  function writeHome(then) {
    if (Module.zintrelWriteHome) {
      Module.zintrelWriteHome(then);
    } else {
      then();
    }
  }

  // Dropped or chosen files go to the program, which judges each at its next pass.
  var waiting = 0;
  var added = false;
  function take(files) {
    if (ended) {
      say("The game has ended: reload the page to add levels.");
      return;
    }
    Array.prototype.forEach.call(files, function(file) {
      var name = file.name.replace(/^.*[\/\\]/, "").slice(-120);
      if (!name || name == "." || name == "..") {
        return;
      }
      if (file.size > 64 * 1024 * 1024) {
        say(name + " is larger than any level pack, and is not kept.");
        return;
      }
      waiting += 1;
      file.arrayBuffer().then(function(buffer) {
        Module.zintrelDrop(name, new Uint8Array(buffer));
      }, function() {
        waiting -= 1;
        say(name + " cannot be read.");
      });
    });
  }
  document.getElementById("levels").addEventListener("change", function(event) {
    take(event.target.files);
    event.target.value = "";
  });
  window.addEventListener("dragover", function(event) {
    event.preventDefault();
  });
  window.addEventListener("drop", function(event) {
    event.preventDefault();
    take(event.dataTransfer.files);
  });

  return {
    canvas: canvas,
    arguments: replaying ? ["--replay", chosen] : ["--record", record],
    print: function(text) {
      console.log(text);
    },
    printErr: function(text) {
      console.warn(text);
      say(text);
    },
    zintrelClosed: function() {
      ended = true;
      window.zintrelEnded = true;
      say(replaying ? "The replay has ended." : "The game has ended. Reload the page to play again.");
    },
    zintrelStorageRefused: function(reason) {
      say("This browser keeps nothing for the page (" + reason +
          "): scores and settings last until the page closes.");
    },
    zintrelScreenshot: function(path) {
      var bytes = Module.zintrelReadFile(path);
      if (bytes) {
        download(bytes, path.replace(/^.*\//, ""), "image/png");
      }
    },
    zintrelDropAnswered: function(name, problem, inPlay) {
      waiting -= 1;
      if (problem) {
        say(problem);
      } else {
        added = true;
        say(name + " is added.");
      }
      if (waiting > 0 || !added) {
        return;
      }
      added = false;
      writeHome(function() {
        if (inPlay) {
          say("The new levels are on the selection once the page is reloaded.");
        } else {
          location.reload();
        }
      });
    },
  };
})();
