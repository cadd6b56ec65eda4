// The fixed content of the screens outside play, drawn into the full-screen picture: the
// title's menu, the Hall of Fame, the Scoring screen with its sprites, the About screen and
// the level pack selection.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "levels/highscores.h"
#include "media/dxgraphic.h"
#include "platform/api/options.h"
#include "playfield/dxsprite.h"

// The lines of the title's menu that a player can choose, top to bottom; the pause key's line
// only tells.
enum TitleLine : std::int32_t {
    tlBegin,
    tlHallOfFame,
    tlScoring,
    tlAbout,
    tlExit,
    tlOptions,
    kTitleLines,
};

// The two-column menu, in black, onto the title picture already in `background`: the keys for a
// player on the keyboard or the mouse; after a game controller, its buttons. The line chosen,
// unless it is -1, is framed in red.
void DrawTitleText(TDXGraphic& background, platform::DeviceKind device, std::int32_t chosen = -1);
// The line of the title's menu at a point of the screen; -1 where there is none.
std::int32_t TitleLineAt(int x, int y);
// The rectangle that frames a line of the title's menu when it is chosen.
RECT TitleLineRect(std::int32_t line);

// A key's or button's name as the screens write it: "<SPACE>".
std::string Prompt(const std::string& name);

// The table on black under the HALL OF FAME heading (frame 3 of `words`); place `highlight`
// is framed in red unless it is 24 or more.
void DrawHallOfFame(TDXGraphic& background, TDXGraphic& words, const THallOfFame& table,
                    std::int32_t highlight);

// The SCORING heading (frame 0 of `words`) and what each thing is worth; after a game
// controller, the shotgun's line names its button.
void DrawScoring(TDXGraphic& background, TDXGraphic& words, platform::DeviceKind device);

// Replaces the sprites with those that stand beside the Scoring screen's lines: a gull, a
// Bazzle and the eight eggs, animated in place.
void SetScoringSprites(TDXSpriteList& sprites, TDXGraphic& gulls, TDXGraphic& misc,
                       TDXGraphic& eggs);

// The credits between two suns (frame 5 of `misc`).
void DrawAbout(TDXGraphic& background, TDXGraphic& misc);

// "Select A Level Pack" and the page of 20 names that holds the selection, framed in red.
void DrawPackList(TDXGraphic& background, const std::vector<std::string>& names,
                  std::int32_t selected);
// The entry of a list of `count` names whose line on the page holding the selection lies at
// screen row y; -1 where there is none.
std::int32_t PackEntryAt(int y, std::int32_t selected, std::size_t count);
