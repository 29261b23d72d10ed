#include "app_state.h"

AppState app;

void ResetAppState()
{
    app = AppState{};
    InitResultList(app.results);
}
