#include "app/profile_flow.h"
#include "profile/profile_screen.h"
#include "profile/profile_export.h"
#include "scoring/scoring_screen.h"

#include <QPointer>

void AttachProfileScreen(AppContext& ctx, FrmkLID& scoring, std::function<void(FrmNemudar&)> opened)
{
    auto current = std::make_shared<QPointer<FrmNemudar>>();
    QObject::connect(&scoring, &FrmkLID::profileRequested, &scoring,
                     [&ctx, &scoring, opened = std::move(opened), current](const examinees::ExamineeRecord& examinee) {
        if (*current) {
            (*current)->setExaminee(examinee);
        } else {
            auto* screen = new FrmNemudar(ctx, examinee, [&scoring] { return scoring.normGroup(); });
            screen->setAttribute(Qt::WA_DeleteOnClose);
            new ProfileExport(ctx, *screen); // print and Word; a child of the screen
            // A top-level window of its own, but it cannot outlive the screen it asks.
            QObject::connect(&scoring, &QObject::destroyed, screen, [screen] { delete screen; });
            QObject::connect(screen, &FrmNemudar::closed, &scoring, [&scoring] {
                scoring.show();
                scoring.activateWindow();
            });
            *current = screen;
            if (opened)
                opened(*screen);
        }
        FrmNemudar* screen = *current;
        screen->show();
        screen->activateWindow();
    });
}
