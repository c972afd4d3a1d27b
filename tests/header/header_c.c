/* The public header is plain C (built as C89 with every warning an error),
 * and the shared library it is linked with reports the header's version. */
#include <stdio.h>
#include <string.h>

#include "veskar.h"

int main(void)
{
    if (strcmp(VESKAR_LibVersion(), VESKAR_VERSION) != 0 || VESKAR_LibVersionNumber() != VESKAR_VERSION_NUMBER) {
        fprintf(stderr, "library %s (%d), header %s (%d)\n", VESKAR_LibVersion(), VESKAR_LibVersionNumber(),
                VESKAR_VERSION, VESKAR_VERSION_NUMBER);
        return 1;
    }
    printf("veskar %s\n", VESKAR_LibVersion());
    return 0;
}
