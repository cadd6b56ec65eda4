// The play field's share of the game record, value by value, as recorded games keep it.
#include "playfield/playfield.h"

namespace {

void AddSprite(platform::FrameRecord& record, const TDXSprite& s) {
    for (const auto& [name, value] : {std::pair{"x", s.X},
                                      {"y", s.Y},
                                      {"dx", s.DX},
                                      {"dy", s.DY},
                                      {"speed", s.Speed},
                                      {"ax", s.AX},
                                      {"ay", s.AY},
                                      {"framedelay", s.FrameDelay},
                                      {"frametimer", s.FrameTimer}}) {
        record.Add(name, value);
    }
    for (const auto& [name, value] : {std::pair{"minx", std::int64_t{s.MinX}},
                                      {"maxx", std::int64_t{s.MaxX}},
                                      {"miny", std::int64_t{s.MinY}},
                                      {"maxy", std::int64_t{s.MaxY}},
                                      {"frame", std::int64_t{s.Frame}},
                                      {"firstframe", std::int64_t{s.FirstFrame}},
                                      {"lastframe", std::int64_t{s.LastFrame}},
                                      {"animstep", std::int64_t{s.AnimStep}},
                                      {"kind", std::int64_t{s.Kind}},
                                      {"value", std::int64_t{s.Value}},
                                      {"latch", std::int64_t{s.Latch}},
                                      {"unitdirection", std::int64_t{s.UnitDirection}},
                                      {"edgehits", std::int64_t{s.EdgeHits}},
                                      {"edgemodex", std::int64_t{s.EdgeModeX}},
                                      {"edgemodey", std::int64_t{s.EdgeModeY}}}) {
        record.Add(name, value);
    }
}

void AddList(platform::FrameRecord& record, const char* name, const TDXSpriteList& list) {
    record.Group(name);
    record.Count(static_cast<std::int64_t>(list.size()));
    for (std::size_t i = 0; i < list.size(); ++i) {
        record.Sprite(static_cast<int>(i));
        AddSprite(record, list[i]);
    }
}

void AddSingle(platform::FrameRecord& record, const char* name, const TDXSprite& sprite) {
    record.Group(name);
    record.Sprite();
    AddSprite(record, sprite);
}

}  // namespace

void TPlayField::Describe(platform::FrameRecord& record) const {
    // The paddle first, as what the player's input moves first.
    AddSingle(record, "paddle", PaddleSprite);
    AddList(record, "balls", BallList);
    AddList(record, "gulls", GullList);
    AddList(record, "bombs", BombList);
    AddList(record, "eggs", EggList);
    AddSingle(record, "bazzle", BazzleSprite);
    record.Group("shots");
    for (int i = 0; i < 2; ++i) {
        record.Sprite(i);
        AddSprite(record, ShotSprites[i]);
    }
    AddSingle(record, "burst", UmbrellaBurst);
    AddSingle(record, "cannon", CannonSprite);
    record.Show("state", GameState);
    record.Show("lives", Lives);
    record.Show("gullsleft", GullsLeft);
    record.Show("falling", GullsFalling);
    record.Group("counters");
    for (const auto& [name, value] : {std::pair{"bomblimit", BombLimit},
                                      {"bazzlesleft", BazzlesLeft},
                                      {"eggsleft", EggsLeft},
                                      {"animations", Animations},
                                      {"umbrellas", Umbrellas},
                                      {"paddleminx", PaddleMinX},
                                      {"paddlemaxx", PaddleMaxX}}) {
        record.Add(name, std::int64_t{value});
    }
    record.Group("powers");
    for (const auto& [name, flag] : {std::pair{"cheatmode", CheatMode},
                                     {"playstarted", PlayStarted},
                                     {"randomlevel", RandomLevel},
                                     {"gluepower", GluePower},
                                     {"tennispower", TennisPower},
                                     {"shotgunpower", ShotgunPower},
                                     {"slowonce", SlowOnce},
                                     {"doubleronce", DoublerOnce},
                                     {"fastonce", FastOnce},
                                     {"tennisonce", TennisOnce},
                                     {"mouseheld", MouseHeld},
                                     {"firerequest", FireRequest}}) {
        record.Add(name, std::int64_t{flag});
    }
    record.Group("timers");
    for (const auto& [name, value] : {std::pair{"bazzledelay", BazzleDelay},
                                      {"bombdelay", BombDelay},
                                      {"bazzletimer", BazzleTimer},
                                      {"bombtimer", BombTimer},
                                      {"hittimer", HitTimer},
                                      {"frametime", FrameTime},
                                      {"cannonsoundtimer", CannonSoundTimer}}) {
        record.Add(name, value);
    }
}
