#import <Foundation/Foundation.h>

// Finds files of a resource bundle "Quorvex.bundle" among the framework's
// resources. The framework ships none: its definition documents are compiled
// into the library, so both methods give an empty string unless the host
// application adds such a bundle itself. Kept for the callers of earlier
// versions, which read "not found" as an empty string.
@interface CLCLoadResource : NSObject

- (NSString*)getBundlePath;
- (NSString*)getPathName:(NSString*)fileName;

@end
