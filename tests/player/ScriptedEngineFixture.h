#pragma once

#include "collection/Collection.h"
#include "collection/Settings.h"
#include "playback/ScriptedDriveSet.h"
#include "player/ControllerEngine.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <memory>

// A controller engine started on one scripted drive "D" with an empty collection in a
// fresh home: the ground that the player's engine and window tests stand on.
class ScriptedEngineFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Four tracks of one minute from frame 150.
    static Orbisong::ScriptedDevice::Disc fourTracks();

    TestHome home;
    Orbisong::Settings settings;
    Orbisong::ScriptedDriveSet drives;
    Orbisong::ScriptedDevice *drive = nullptr;
    std::unique_ptr<Orbisong::Collection> collection;
    std::unique_ptr<Orbisong::ControllerEngine> engine;
};
