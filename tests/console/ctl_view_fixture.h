#pragma once

// A control view over a small system, with the helpers that click its lists.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "console/ctl_view.h"
#include "console/zone_list.h"
#include "persistence/console_database.h"
#include "support/fake_file_picker.h"
#include "support/fake_prompter.h"
#include "support/fake_ui_bus.h"
#include "support/services_harness.h"
#include "users/user_session.h"
#include "widgets/shade_button.h"

namespace qavo {

// Three hosts (the third works no zone), three named groups.
inline void FillSmallSystem(ParamImage& image) {
    image.Set(fields::host_count, 3);
    image.Set(fields::group_count, 3);
    image.Set(fields::zone_work_enable, 0xFF, 0);
    image.Set(fields::zone_work_enable, 0x0F, 1);
    image.Set(fields::zone_work_enable, 0x00, 2);
    const uint8_t zones[3][3] = {{0x03, 0x00, 0x00}, {0x10, 0x01, 0x00}, {0x00, 0x00, 0x80}};
    const char* names[3] = {"Lobby", "Hall B", "Garage"};
    for (unsigned g = 0; g < 3; ++g) {
        for (unsigned h = 0; h < 3; ++h)
            image.Set(fields::group_zones, zones[g][h], g, h);
        uint8_t* p = image.Block(kGroupsBlock).data() + fields::group_name.At(g);
        std::memset(p, 0, kNameSize);
        std::memcpy(p, names[g], std::strlen(names[g]));
    }
}

class CtlViewTest : public ::testing::Test, protected testing::ServicesHarness {
  protected:
    CtlViewTest() {
        auto lock = model.Lock();
        FillSmallSystem(model.image);
    }

    void SetFlags(uint8_t flags) {
        auto lock = model.Lock();
        model.live.system_flags = flags;
    }

    CCtlView& View(QSize size = {1280, 720}) {
        view = std::make_unique<CCtlView>(services);
        view->resize(size);
        view->show();
        QApplication::setActiveWindow(view.get());
        QApplication::processEvents();
        return *view;
    }

    template <typename T>
    T* Find(const char* name) {
        T* widget = view->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTreeWidget* GroupList() { return Find<QTreeWidget>("groupList"); }
    ZoneList* Zones() { return Find<ZoneList>("zoneList"); }
    ShadeButton* Button(const char* name) { return Find<ShadeButton>(name); }

    void ClickGroup(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTreeWidget* list = GroupList();
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, r.center());
    }
    QRect CellRect(int row, int column) {
        return Zones()->visualRect(Zones()->model()->index(row, column));
    }
    void ClickZoneList(QPoint at) {
        QTest::mouseClick(Zones()->viewport(), Qt::LeftButton, {}, at);
    }
    void DoubleClick(QWidget* viewport, QPoint at) {
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &dbl);
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(viewport, &release);
    }

    // The rows of the zone list: host text, then "text:image" per filled cell.
    std::vector<std::vector<std::string>> ZoneTable() {
        std::vector<std::vector<std::string>> table;
        ZoneList* list = Zones();
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            const QTreeWidgetItem* item = list->topLevelItem(r);
            std::vector<std::string> row{item->text(1).toStdString()};
            for (int c = kFirstZoneColumn; c < kZoneColumnCount; ++c) {
                if (item->text(c).isEmpty()) continue;
                row.push_back(item->text(c).toStdString() + ":" +
                              std::to_string(item->data(c, ZoneList::kImageRole).toInt()));
            }
            table.push_back(row);
        }
        return table;
    }

    std::unique_ptr<CCtlView> view;
};

inline const std::vector<std::vector<std::string>> kAllZonesIdle = {
    {"    01", "ZONE 01:0", "ZONE 02:0", "ZONE 03:0", "ZONE 04:0", "ZONE 05:0", "ZONE 06:0",
     "ZONE 07:0", "ZONE 08:0"},
    {"    02", "ZONE 01:0", "ZONE 02:0", "ZONE 03:0", "ZONE 04:0", "ZONE 05:4", "ZONE 06:4",
     "ZONE 07:4", "ZONE 08:4"},
    {"    03", "ZONE 01:4", "ZONE 02:4", "ZONE 03:4", "ZONE 04:4", "ZONE 05:4", "ZONE 06:4",
     "ZONE 07:4", "ZONE 08:4"},
};

}  // namespace qavo
