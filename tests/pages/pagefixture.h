#pragma once
// A scratch program directory with the tool's texts in English and a scratch package, open in a
// package document; everything it overrides is restored when it goes.
#include "testmain.h"

#include "document/packagedocument.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

class PageFixture {
public:
    explicit PageFixture(const QByteArray &customText)
    {
        const QString root = testing::scratchPath(m_dir);
        testing::writeFile(root + "/program/0409/custom-text.ini", customText);
        platform::setProgramDirectory(root + "/program");
        platform::setUserInterfaceLanguage(0x0409);
        document = std::make_unique<document::PackageDocument>();
        state = &document->state();
        state->packageDir = root + "/package";
        state->setPackagePaths();
        QDir().mkpath(root + "/package/0409");
    }
    ~PageFixture()
    {
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
        ini::clearProfileCache();
        QDir(qEnvironmentVariable("AKVO_REGISTRY")).removeRecursively();
    }

    // Files written behind the profile engine's back.
    static void write(const QString &path, const QByteArray &bytes)
    {
        testing::writeFile(path, bytes);
        ini::clearProfileCache();
    }

    std::unique_ptr<document::PackageDocument> document;
    packages::PackageState *state = nullptr;

private:
    QTemporaryDir m_dir;
};
