// Nullability of the framework's interface. Compilers without the qualifiers
// (gcc, which builds the framework on GNUstep) read them as nothing.
#import <Foundation/Foundation.h>

#if !defined(__has_feature) || !__has_feature(nullability)
#  ifndef _Nullable
#    define _Nullable
#  endif
#  ifndef _Nonnull
#    define _Nonnull
#  endif
#endif
