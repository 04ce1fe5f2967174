// oapi_misc.cpp: the debug string, dates, the input box and scenario block lines.
#include <Orbitersdk.h>

#include "../cockpit/input_state.h"
#include "host_state.h"
#include "../scenario/block_io.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

char *oapiDebugString() { return kvhost::Host().debug; }

int Date2Int(char *date) {
    // "Apr 25 2006" -> 60425 (YYMMDD, as the simulator gives it); 0 for text that is no such date.
    static const char *const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!date) return 0;
    char mon[4] = {};
    int day = 0, year = 0;
    if (std::sscanf(date, "%3s %d %d", mon, &day, &year) != 3) return 0;
    for (int m = 0; m < 12; ++m)
        if (strcasecmp(mon, months[m]) == 0 && day >= 1 && day <= 31 && year > 0)
            return (year % 100) * 10000 + (m + 1) * 100 + day;
    return 0;
}

void oapiOpenInputBox(char *title, bool (*Clbk)(void *id, char *str, void *usrdata), char *buf, int /*vislen*/,
                      void *usrdata) {
    kvhost::InputBox box;
    box.title = title ? title : "";
    box.initialText = buf ? buf : "";
    box.callback = Clbk;
    box.usrdata = usrdata;
    kvhost::OpenInputBox(box);
}

void oapiWriteScenario_string(FILEHANDLE scn, char *item, char *string) {
    if (kvhost::BlockWriter *w = kvhost::BlockWriter::From(scn)) w->Write(item, string);
}

bool oapiReadScenario_nextline(FILEHANDLE scn, char *&line) {
    kvhost::BlockReader *r = kvhost::BlockReader::From(scn);
    return r ? r->Next(line) : false;
}
