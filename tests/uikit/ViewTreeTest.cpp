// The view tree: move callbacks and their order, tint inheritance, tags,
// coordinates, layout passes, hit testing and the responder chain.
#include "UIKitTesting.h"

#include <string>
#include <vector>

namespace {

using namespace uitest;
using UI::Color;

std::vector<std::string> journal;

std::string nameOf(id view) { return "v" + std::to_string(objc::cast<UI::View>(view)->tag()); }
void note(id self, const std::string& what) { journal.push_back(nameOf(self) + "." + what); }

void willMoveToSuperview(id self, SEL, id s) { note(self, s ? "willMoveToSuperview" : "willMoveToSuperview(nil)"); }
void didMoveToSuperview(id self, SEL) { note(self, "didMoveToSuperview"); }
void willMoveToWindow(id self, SEL, id w) { note(self, w ? "willMoveToWindow" : "willMoveToWindow(nil)"); }
void didMoveToWindow(id self, SEL) { note(self, "didMoveToWindow"); }
void willRemoveSubview(id self, SEL, id sub) { note(self, "willRemoveSubview " + nameOf(sub)); }
void didAddSubview(id self, SEL, id sub) { note(self, "didAddSubview " + nameOf(sub)); }
void tintColorDidChange(id self, SEL) { note(self, "tintColorDidChange"); }
void layoutSubviews(id self, SEL) { note(self, "layoutSubviews"); }

Class recordingClass() {
    static Class cls = objc::ClassBuilder("TestRecordingView", "UIView"_cls)
                           .method("willMoveToSuperview:", &willMoveToSuperview)
                           .method("didMoveToSuperview", &didMoveToSuperview)
                           .method("willMoveToWindow:", &willMoveToWindow)
                           .method("didMoveToWindow", &didMoveToWindow)
                           .method("willRemoveSubview:", &willRemoveSubview)
                           .method("didAddSubview:", &didAddSubview)
                           .method("tintColorDidChange", &tintColorDidChange)
                           .method("layoutSubviews", &layoutSubviews)
                           .build();
    return cls;
}

class ViewTreeTest : public UIKitTest {
protected:
    ViewTreeTest() { journal.clear(); }

    Ref<UI::View> recorder(NSInteger tag, CGRect frame = CGRectMake(0, 0, 10, 10)) {
        Ref<UI::View> v = makeView(frame, nullptr, recordingClass());
        v->setTag(tag);
        return v;
    }
    // Only the entries that mention the view.
    static std::vector<std::string> entriesOf(const std::string& name) {
        std::vector<std::string> out;
        for (const auto& e : journal) {
            if (e.rfind(name + ".", 0) == 0) out.push_back(e.substr(name.size() + 1));
        }
        return out;
    }
};

using Entries = std::vector<std::string>;

TEST_F(ViewTreeTest, MovesAnnounceThemselvesInOrderInsideAndOutsideWindows) {
    Ref<UI::Window> window = objc::adopt(UI::Window::alloc()->init());
    Ref<UI::View> a = recorder(1), b = recorder(2), child = recorder(3);
    a->addSubview(child);
    window->addSubview(a);
    EXPECT_EQ(entriesOf("v3"),
              (Entries{"willMoveToSuperview", "didMoveToSuperview", "willMoveToWindow", "didMoveToWindow"}));
    EXPECT_EQ(entriesOf("v1"), (Entries{"didAddSubview v3", "willMoveToSuperview", "willMoveToWindow",
                                        "didMoveToWindow", "didMoveToSuperview"}));
    journal.clear();

    // Moving between superviews of one window: no window callbacks.
    window->addSubview(b);
    journal.clear();
    b->addSubview(child);
    EXPECT_EQ(entriesOf("v3"), (Entries{"willMoveToSuperview", "didMoveToSuperview"}));
    EXPECT_EQ(entriesOf("v1"), (Entries{"willRemoveSubview v3"}));
    EXPECT_EQ(entriesOf("v2"), (Entries{"didAddSubview v3"}));
    EXPECT_EQ(child->superview(), b.get());
    EXPECT_EQ(objc::send<NSUInteger>(a->subviews(), "count"_sel), 0u);
    journal.clear();

    b->removeFromSuperview();
    EXPECT_EQ(entriesOf("v2"),
              (Entries{"willMoveToSuperview(nil)", "willMoveToWindow(nil)", "didMoveToWindow", "didMoveToSuperview"}));
    EXPECT_EQ(entriesOf("v3"), (Entries{"willMoveToWindow(nil)", "didMoveToWindow"}));
    EXPECT_EQ(child->window(), nullptr);
    EXPECT_EQ(b->superview(), nullptr);
}

TEST_F(ViewTreeTest, AViewGoingAwayTellsItsSubviewsTheyHaveLeft) {
    Ref<UI::View> child = recorder(7);
    {
        Ref<UI::View> parent = makeView(CGRectMake(0, 0, 10, 10));
        parent->addSubview(child);
        journal.clear();
    }
    EXPECT_EQ(entriesOf("v7"), (Entries{"willMoveToSuperview(nil)", "didMoveToSuperview"}));
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(child->layer()->superlayer(), nullptr);
}

TEST_F(ViewTreeTest, TheLayerTreeMirrorsTheViewTree) {
    Ref<UI::View> parent = makeView(CGRectMake(0, 0, 10, 10));
    Ref<UI::View> a = makeView(CGRectZero), b = makeView(CGRectZero), c = makeView(CGRectZero);
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubview(c, 1);
    auto layerAt = [&](NSUInteger i) { return objc::send<id>(parent->layer()->sublayers(), "objectAtIndex:"_sel, i); };
    EXPECT_EQ(layerAt(0), objc::asId(a->layer()));
    EXPECT_EQ(layerAt(1), objc::asId(c->layer()));
    EXPECT_EQ(layerAt(2), objc::asId(b->layer()));
    parent->sendSubviewToBack(b);
    EXPECT_EQ(layerAt(0), objc::asId(b->layer()));
    EXPECT_EQ(objc::send<id>(parent->subviews(), "objectAtIndex:"_sel, NSUInteger(0)), objc::asId(b.get()));
}

TEST_F(ViewTreeTest, TintIsInheritedAndChangesReachOnlyTheViewsThatInheritIt) {
    Ref<UI::View> top = recorder(1), middle = recorder(2), own = recorder(3), leaf = recorder(4);
    top->addSubview(middle);
    middle->addSubview(own);
    middle->addSubview(leaf);
    own->setTintColor(Color::greenColor());
    EXPECT_EQ(testcolors::componentsOf(leaf->tintColor()), testcolors::hex(0x007AFF));
    journal.clear();

    top->setTintColor(Color::redColor());
    EXPECT_TRUE(leaf->tintColor()->isEqual(Color::redColor()));
    EXPECT_TRUE(own->tintColor()->isEqual(Color::greenColor()));
    EXPECT_EQ(journal, (Entries{"v1.tintColorDidChange", "v2.tintColorDidChange", "v4.tintColorDidChange"}));
    journal.clear();
    top->setTintColor(Color::colorWithRed(1, 0, 0, 1));  // the same colour: no news
    EXPECT_TRUE(journal.empty());

    // Moving under another tint tells the view.
    Ref<UI::View> elsewhere = makeView(CGRectZero);
    elsewhere->setTintColor(Color::blueColor());
    elsewhere->addSubview(leaf);
    EXPECT_EQ(entriesOf("v4").back(), "tintColorDidChange");
}

TEST_F(ViewTreeTest, ViewWithTagSearchesDepthFirstFromTheViewItself) {
    Ref<UI::View> root = recorder(1);
    Ref<UI::View> a = recorder(2), deep = recorder(5), b = recorder(5);
    root->addSubview(a);
    a->addSubview(deep);
    root->addSubview(b);
    EXPECT_EQ(root->viewWithTag(1), root.get());
    EXPECT_EQ(root->viewWithTag(5), deep.get());
    EXPECT_EQ(root->viewWithTag(9), nullptr);
}

TEST_F(ViewTreeTest, PointsConvertThroughFramesAndBoundsOrigins) {
    Ref<UI::Window> window = objc::adopt(UI::Window::alloc()->init());
    Ref<UI::View> a = makeView(CGRectMake(10, 20, 100, 100));
    Ref<UI::View> inner = makeView(CGRectMake(5, 5, 50, 50));
    Ref<UI::View> b = makeView(CGRectMake(200, 300, 50, 50));
    window->addSubview(a);
    a->addSubview(inner);
    window->addSubview(b);
    a->setBounds(CGRectMake(0, 30, 100, 100));  // a scrolls its content up by 30
    struct Case {
        UI::View* from;
        UI::View* to;
        CGPoint in, out;
    } cases[] = {
        {inner, nullptr, {1, 2}, {16, -3}}, {inner, b, {1, 2}, {-184, -303}},
        {b, inner, {-184, -303}, {1, 2}},   {a, a, {7, 7}, {7, 7}},
        {window, inner, {16, -3}, {1, 2}},
    };
    for (const Case& c : cases) {
        CGPoint p = c.from->convertPointToView(c.in, c.to);
        EXPECT_EQ(p.x, c.out.x);
        EXPECT_EQ(p.y, c.out.y);
        CGPoint back = c.from->convertPointFromView(p, c.to);
        EXPECT_EQ(back.x, c.in.x);
        EXPECT_EQ(back.y, c.in.y);
    }
    CGRect r = inner->convertRectToView(CGRectMake(0, 0, 3, 4), nullptr);
    EXPECT_TRUE(CGRectEqualToRect(r, CGRectMake(15, -5, 3, 4)));
}

TEST_F(ViewTreeTest, LayoutRunsOncePerNeedFromTheTopDown) {
    Ref<UI::View> top = recorder(1, CGRectMake(0, 0, 100, 100)), child = recorder(2);
    top->addSubview(child);
    journal.clear();
    top->layoutIfNeeded();
    EXPECT_EQ(journal, (Entries{"v1.layoutSubviews", "v2.layoutSubviews"}));
    journal.clear();
    top->layoutIfNeeded();
    EXPECT_TRUE(journal.empty());

    child->setFrame(CGRectMake(5, 5, 10, 10));  // moved only
    top->layoutIfNeeded();
    EXPECT_TRUE(journal.empty());
    child->setFrame(CGRectMake(5, 5, 20, 10));  // resized
    top->layoutIfNeeded();
    EXPECT_EQ(journal, (Entries{"v2.layoutSubviews"}));
    journal.clear();
    top->setNeedsLayout();
    top->layoutIfNeeded();
    EXPECT_EQ(journal, (Entries{"v1.layoutSubviews"}));
}

TEST_F(ViewTreeTest, SizeToFitTakesWhatSizeThatFitsAnswers) {
    Ref<UI::View> v = makeView(CGRectMake(3, 4, 30, 40));
    CGSize fits = v->sizeThatFits(CGSizeMake(1, 1));
    EXPECT_TRUE(CGSizeEqualToSize(fits, CGSizeMake(30, 40)));
    v->sizeToFit();
    EXPECT_TRUE(CGRectEqualToRect(v->frame(), CGRectMake(3, 4, 30, 40)));
    EXPECT_TRUE(CGPointEqualToPoint(v->center(), CGPointMake(18, 24)));
    v->setCenter(CGPointMake(50, 50));
    EXPECT_TRUE(CGRectEqualToRect(v->frame(), CGRectMake(35, 30, 30, 40)));
}

TEST_F(ViewTreeTest, HitTestingFindsTheFrontmostVisibleInteractiveView) {
    Ref<UI::View> root = makeView(CGRectMake(0, 0, 100, 100));
    Ref<UI::View> back = makeView(CGRectMake(0, 0, 60, 60));
    Ref<UI::View> front = makeView(CGRectMake(40, 40, 60, 60));
    Ref<UI::View> inner = makeView(CGRectMake(10, 10, 10, 10));
    root->addSubview(back);
    root->addSubview(front);
    front->addSubview(inner);
    struct Case {
        CGPoint p;
        UI::View* expected;
    } visible[] = {
        {{5, 5}, back}, {{45, 45}, front}, {{55, 55}, inner}, {{80, 5}, root}, {{100, 50}, nullptr}, {{-1, 5}, nullptr},
    };
    for (const Case& c : visible) EXPECT_EQ(root->hitTest(c.p, nullptr), c.expected) << c.p.x << "," << c.p.y;

    front->setHidden(YES);
    EXPECT_EQ(root->hitTest(CGPointMake(55, 55), nullptr), back.get());
    front->setHidden(NO);
    front->setUserInteractionEnabled(NO);
    EXPECT_EQ(root->hitTest(CGPointMake(55, 55), nullptr), back.get());
    front->setUserInteractionEnabled(YES);
    front->setAlpha(0.005);
    EXPECT_EQ(root->hitTest(CGPointMake(90, 90), nullptr), root.get());
    front->setAlpha(1);
    // A subview outside its superview cannot be hit there.
    inner->setFrame(CGRectMake(70, 70, 20, 20));
    EXPECT_EQ(root->hitTest(CGPointMake(115, 115), nullptr), nullptr);
}

TEST_F(ViewTreeTest, TheResponderChainPassesThroughTheViewsController) {
    Ref<UI::ViewController> controller = objc::adopt(UI::ViewController::alloc()->init());
    EXPECT_FALSE(controller->isViewLoaded());
    UI::View* view = controller->view();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(CGRectEqualToRect(view->frame(), CGRectMake(0, 0, 320, 568)));
    Ref<UI::View> holder = makeView(CGRectZero);
    Ref<UI::View> inside = makeView(CGRectZero);
    holder->addSubview(view);
    view->addSubview(inside);
    EXPECT_EQ(objc::asId(inside->nextResponder()), objc::asId(view));
    EXPECT_EQ(objc::asId(view->nextResponder()), objc::asId(controller.get()));
    EXPECT_EQ(objc::asId(controller->nextResponder()), objc::asId(holder.get()));
    EXPECT_EQ(inside->_viewControllerForAncestor(), objc::asId(controller.get()));
    EXPECT_EQ(holder->_viewControllerForAncestor(), nil);
}

}  // namespace
