#import <Foundation/Foundation.h>

#import "QuorvexNullability.h"

NS_ASSUME_NONNULL_BEGIN

// Finds files of a resource bundle "Quorvex.bundle" among the framework's
// resources. The framework ships none: its definition documents are compiled
// into the library, so both methods give an empty string unless the host
// application adds such a bundle itself. Kept for the callers of earlier
// versions, which read "not found" as an empty string.
@interface CLCLoadResource : NSObject

// Never nil: "not found" is the empty string.
- (NSString*)getBundlePath;
- (NSString*)getPathName:(NSString* _Nullable)fileName;

@end

NS_ASSUME_NONNULL_END
