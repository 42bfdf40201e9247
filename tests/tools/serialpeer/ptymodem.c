/* Preloaded into the Wine process of the serial tests (LD_PRELOAD): a pseudo-terminal
 * has no modem lines, so the requests for them fail and the serial driver refuses to
 * wait for modem and line events. Here they succeed on a pty the way a null-modem cable
 * answers: DSR, CTS and carrier on, DTR and RTS taken, no line errors counted, the
 * transmitter empty. Every other request, and every request on anything else, goes to
 * the real ioctl untouched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <linux/serial.h>
#include <stdarg.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

/* The majors of the pty slaves (/dev/pts/N). */
static int is_pty(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

int ioctl(int fd, unsigned long request, ...)
{
    static int (*real_ioctl)(int, unsigned long, ...);
    va_list args;
    va_start(args, request);
    void *arg = va_arg(args, void *);
    va_end(args);
    if (!real_ioctl)
        real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    int result = real_ioctl(fd, request, arg);
    if (result == 0 || (errno != ENOTTY && errno != EINVAL) || !is_pty(fd))
        return result;
    switch (request) {
    case TIOCMGET:
        *(int *)arg = TIOCM_DSR | TIOCM_CTS | TIOCM_CAR | TIOCM_DTR | TIOCM_RTS;
        return 0;
    case TIOCMBIS:
    case TIOCMBIC:
    case TIOCMSET:
        return 0;
    case TIOCGICOUNT:
        memset(arg, 0, sizeof(struct serial_icounter_struct));
        return 0;
    case TIOCSERGETLSR:
        *(unsigned int *)arg = TIOCSER_TEMT;
        return 0;
    default:
        return result;
    }
}
