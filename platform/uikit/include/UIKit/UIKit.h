// Everything of UIKit in one include.
#pragma once

#include <UIKit/CALayer.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIBlock.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIPasteboard.h>
#include <UIKit/UIResponder.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>
