/* Resource and control numbers shared by the resource script and the Win32 port.
   Plain C preprocessor definitions: the resource compiler reads this file too. */
#ifndef CORVANTHE_RESOURCE_IDS_H
#define CORVANTHE_RESOURCE_IDS_H

#define CORVANTHE_IDI_SUN 16000        /* the plug-in's icon */
#define CORVANTHE_IDC_MESSAGE_TEXT 101 /* the text of a message dialog */
#define CORVANTHE_IDC_THUMBNAIL 123    /* the preset thumbnail area of the open dialog */
#define CORVANTHE_MANIFEST 2           /* the module's manifest: common controls version 6 */

#endif
