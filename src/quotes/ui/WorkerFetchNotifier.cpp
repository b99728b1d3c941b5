#include "quotes/ui/WorkerFetchNotifier.h"

#include "quotes/ui/MessageBoxFetchNotifier.h"
#include "quotes/ui/UpdateWorkerLink.h"

void WorkerFetchNotifier::Show(const FetchMessage& message) {
    m_link.Call<bool>([message] {
        ShowFetchMessage(message);
        return true;
    });
}
