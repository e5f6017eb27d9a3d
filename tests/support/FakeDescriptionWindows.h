#pragma once

#include "FakeDescriptionForm.h"
#include "core/services/DescriptionWindows.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// The main window's side of opening descriptions, without windows: fake description windows
// owned here, and a record of what was asked, in order ("show", "progress 10", "hide",
// "activate <caption>", "properties", "tabs", ...). Installs itself while it lives.
class FakeDescriptionWindows : public DescriptionWindows
{
public:
    FakeDescriptionWindows();
    ~FakeDescriptionWindows() override;

    DescriptionForm* Create() override;
    void Activate(DescriptionForm* form) override;
    void Show(DescriptionForm* form) override;
    void Unload(DescriptionForm* form) override;
    void SetProgressVisible(bool visible) override;
    void SetProgressValue(int value) override;
    void DefaultMousePointer() override { events << QStringLiteral("pointer"); }
    void RefreshProperties() override { events << QStringLiteral("properties"); }
    void RefreshTabs() override { events << QStringLiteral("tabs"); }
    void DownLoadPicture(QString& html) override;

    // The windows still loaded, in the order they were created.
    std::vector<FakeDescriptionForm*> Forms() const;
    // The events recorded since the last call, which clears them.
    QStringList TakeEvents();

    QStringList events;
    // Run by DownLoadPicture after it is recorded; nothing by default.
    std::function<void(QString&)> pictures;
    // Block format names the new windows' description editors offer.
    QStringList blockFormats{QStringLiteral("Normal"), QStringLiteral("Heading 1")};
    // The new windows' description editors raise when asked for their block formats.
    bool failBlockFormats = false;
    // Their status of the block-format names command (enabled by default).
    int blockFormatsStatus = 3;
    // Create raises once this many windows have been made (-1: never).
    int failCreateAfter = -1;

private:
    std::vector<std::unique_ptr<FakeDescriptionForm>> m_forms;
    int m_created = 0;
};
