CREATE TABLE Order_Book
(    OrderNo Integer ,
    Customer TEXT(30),
    Placed Date    ,
    Amount Float   ,
    Paid Bit     ,
    Note TEXT(254)
);
GO


INSERT INTO Order_Book (OrderNo,Customer,Placed,Amount,Paid,Note)
  VALUES( 1001, 'Smith, John', #01/15/2002 00:00:00#, 12.50, TRUE, 'Fish & Chips');
GO
INSERT INTO Order_Book (OrderNo,Customer,Placed,Amount,Paid,Note)
  VALUES( 1002, 'O''Brien''s', #03/04/2002 10:30:00#, 7, TRUE, '<b>bold</b>');
GO
INSERT INTO Order_Book (OrderNo,Customer,Placed,Amount,Paid,Note)
  VALUES( 1003, 'Café Müller',NULL,NULL, FALSE, 'a "quoted" word');
GO
INSERT INTO Order_Book (OrderNo,Customer,Placed,Amount,Paid,Note)
  VALUES( 1004, NULL, NULL, NULL, NULL, NULL);
GO
INSERT INTO Order_Book (OrderNo,Customer,Placed,Amount,Paid,Note)
  VALUES( 1005, 'Caf� Latin',NULL,NULL,NULL,NULL);
GO
INSERT INTO Order_Book (OrderNo,Customer,Placed,Amount,Paid,Note)
  VALUES( 1006, 'Jones | Co', #01/03/2002 00:00:00#, -.5, TRUE, 'extra');
GO
