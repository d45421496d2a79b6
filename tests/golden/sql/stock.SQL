CREATE TABLE Stock
(    Item TEXT(10),
    Qty Long    ,
    Price Float   ,
    [In Stock] Bit     ,
    Added Date    
);
GO


INSERT INTO Stock (Item,Qty,Price,[In Stock],Added)
  VALUES( 'Widget    ', 000012, 12.50, TRUE, #01/02/2002 00:00:00#);
GO
INSERT INTO Stock (Item,Qty,Price,[In Stock],Added)
  VALUES( 'Gadget &  ', 000003, 7.00, FALSE, #12/31/2001 00:00:00#);
GO
INSERT INTO Stock (Item,Qty,Price,[In Stock],Added)
  VALUES( 'Sprocket  ',NULL, -1.25, NULL,NULL);
GO
INSERT INTO Stock (Item,Qty,Price,[In Stock],Added)
  VALUES( 'Short', NULL, NULL, NULL, NULL);
GO
