/* Resource ids of qorvic.exe, shared by the resource script and the code.
   Plain C without <windows.h>, so the resource compiler and any file can include it. */
#ifndef QORVIC_RES_RESOURCE_IDS_H
#define QORVIC_RES_RESOURCE_IDS_H

/* The program's icon (16, 32 and 48 px): the window class and the update prompt. */
#define IDI_QORVIC 1

#endif
