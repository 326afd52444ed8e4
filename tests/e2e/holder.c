/* `holder <file> <ms>` opens the file as an antivirus scan or a cloud sync would, sharing reading and writing but
 * not deleting, so the file cannot be replaced while it is held; a missing file is made empty. It prints "held"
 * once it has the file, keeps it <ms> milliseconds, closes it and prints "let go". */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    printf("held\n");
    fflush(stdout);
    Sleep(atoi(argv[2]));
    CloseHandle(file);
    printf("let go\n");
    return fflush(stdout) != 0;
}
