// The play field record's sheets and sounds, and the growth of its sprite lists.
#include "playfield/playfield.h"

#include <new>
#include <string>

#include "platform/forms.h"
#include "playfield/fieldlists.h"

TPlayField::TPlayField() {
    for (auto* sheet : {&Gulls, &AGulls, &BAGulls, &BallSheet, &TennisBalls, &PaddleSheet,
                        &ExplosionSheet, &MiscSheet, &BonusEggs}) {
        *sheet = TransparentGraphic();
    }
}

TPlayField::~TPlayField() = default;

void AppendSprite(TDXSpriteList& list, const TDXSprite& sprite, const char* what) {
    try {
        list.push_back(sprite);
    } catch (const std::bad_alloc&) {
        throw Exception(std::string("Out of memory adding ") + what);
    }
}
