#include "ScriptedEngineFixture.h"

using namespace Orbisong;

void ScriptedEngineFixture::SetUp()
{
    settings = Settings::defaults(home.path(), QStringLiteral("ann"), QStringLiteral("D"));
    settings.collectionPath = home.file(QStringLiteral("test.obc"));
    drive = &drives.addDrive(u'D');
    collection = std::make_unique<Collection>(settings);
    engine = std::make_unique<ControllerEngine>(drives, settings, collection.get());
    engine->startup(u'D', false);
}

void ScriptedEngineFixture::TearDown()
{
    engine.reset();
}

ScriptedDevice::Disc ScriptedEngineFixture::fourTracks()
{
    return ScriptedDevice::audioDisc({150, 4650, 9150, 13650}, 18150);
}
