#pragma once
// The references of the end-to-end tests compare the window with the
// database's words in. Those are read behind the window and handed over by
// the window's timer message, which the headless clock would only bring
// when advanced; so the handover is asked for until the reading is done
// (at most about 30 s).

#include <unistd.h>

#include "Forms.h"
#include "main.h"

inline void WaitForDatabaseWords(TFrmMain& form) {
    for (int i = 0; i < 30000 && form.DatabaseWordsLoading(); ++i) {
        SendMessage(form.Handle(), WM_TIMER, DatabaseWordsTimer, 0);
        if (form.DatabaseWordsLoading()) usleep(1000);
    }
    Application->ProcessMessages();
}
