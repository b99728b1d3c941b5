#include "desktop/quotes/WorkerFetchNotifier.h"

#include "desktop/quotes/MessageBoxFetchNotifier.h"
#include "desktop/quotes/UpdateWorkerLink.h"

void WorkerFetchNotifier::Show(const FetchMessage& message) {
    m_link.Call<bool>([message] {
        ShowFetchMessage(message);
        return true;
    });
}
